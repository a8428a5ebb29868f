#include "VoiceChoice.h"

namespace vesk {
namespace {

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return std::string();
  size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == '\\' || folder.back() == '/') return folder + name;
  return folder + "\\" + name;
}

}  // namespace

std::vector<std::string> SplitVoiceList(const std::string& text) {
  std::vector<std::string> out;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t comma = text.find(',', pos);
    std::string part = Trim(text.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos));
    if (comma == std::string::npos) {
      if (!part.empty()) out.push_back(part);
      break;
    }
    out.push_back(part);
    pos = comma + 1;
  }
  return out;
}

bool VoiceChooser::Choose(const std::vector<std::string>& list, int phase, int randomRangeSet,
                          const std::string& soundFolder, const Random& random, const Exists& exists,
                          std::string& path) {
  path.clear();
  if (!random || !exists) return false;
  if (phase == kVoicePhasePlay && randomRangeSet < static_cast<int>(random() % 100)) return false;
  const size_t d = list.size();
  if (d == 0) return false;
  size_t e = random() % d;  // counted from 0 here
  std::string chosen = Join(soundFolder, list[e]);
  if (list[e].empty() || !exists(chosen)) return false;
  if (phase == kVoicePhaseBid) {
    path = chosen;
    return true;
  }
  if (chosen != last_) {
    last_ = chosen;
    path = chosen;
    return true;
  }
  if (d == 1) return false;
  const std::string& next = list[(e + 1) % d];
  chosen = Join(soundFolder, next);
  if (next.empty() || !exists(chosen)) return false;
  last_ = chosen;
  path = chosen;
  return true;
}

}  // namespace vesk
