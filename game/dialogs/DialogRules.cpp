#include "DialogRules.h"

#include <algorithm>

namespace dialogs {

ExitChoices ExitButtons(int askAllowed, int trustExit) {
  ExitChoices c;
  if (trustExit) {
    c.trust = true;
    c.trustText = true;
  } else {
    c.force = true;
    c.ask = askAllowed != 0;
  }
  return c;
}

bool IsExitChoice(int id) { return id == kExitForce || id == kExitAsk || id == kExitTrust || id == kExitCancel; }

int ExitResultFor(int id) { return IsExitChoice(id) ? id : kExitCancel; }

WaitGeometry LayOutWait(int textW, int textH, bool showButton, int buttonW, int buttonH) {
  WaitGeometry g;
  textW = std::max(0, textW);
  textH = std::max(0, textH);
  buttonW = std::max(0, buttonW);
  buttonH = std::max(0, buttonH);
  g.clientW = textW < 144 ? 200 : textW + 56;
  g.textY = 14 + (32 - textH) / 2;
  // A text taller than the icon row pushes the button down by what it overhangs.
  const int overhang = std::max(0, textH - 32);
  g.button = showButton;
  if (showButton) {
    g.clientH = overhang + buttonH + 56;
    g.buttonX = (g.clientW - buttonW) / 2;
    g.buttonY = 48 + overhang;
  } else {
    // One line beside the icon: the box keeps the icon row's height whatever the font.
    g.clientH = 48;
  }
  return g;
}

AboutPlaces LayOutGameAbout(const Rect4& iconT, const Rect4& okT, int text1H, int text2H, int clientW, int clientH) {
  AboutPlaces p;
  p.icon = iconT;
  p.icon.top += 15;
  p.icon.bottom += 15;
  // The texts stand beside the icon, one under the other: stacked under it as well they
  // would not fit above the OK button in this height.
  const int okW = okT.Width(), okH = okT.Height();
  p.ok.left = (clientW - okW) / 2;
  p.ok.right = p.ok.left + okW;
  p.ok.bottom = clientH - 5;
  p.ok.top = p.ok.bottom - okH;
  // Texts of several lines rise beside the icon rather than run under the button.
  const int h1 = std::max(0, text1H), h2 = std::max(0, text2H);
  const int top = std::max(0, std::min(p.icon.top, p.ok.top - 2 - (h1 + 6 + h2)));
  const int left = p.icon.right + 12, right = std::max(left + 1, clientW - 12);
  p.text1 = {left, top, right, top + h1};
  p.text2 = {left, p.text1.bottom + 6, right, p.text1.bottom + 6 + h2};
  return p;
}

namespace {
bool Flag(int& v) {
  int n = v != 0 ? 1 : 0;
  bool changed = n != v;
  v = n;
  return changed;
}
}  // namespace

bool NormalizeSetup(SetupValues& v) {
  bool changed = false;
  for (int* f : {&v.allowWatch, &v.musicOn, &v.soundOn, &v.tile, &v.smallCards, &v.voice, &v.animation, &v.tradSound,
                 &v.floatText})
    changed |= Flag(*f);
  if (v.bkMode < -1 || v.bkMode > 2) {
    v.bkMode = 0;
    changed = true;
  }
  if (v.seatDir != 0 && v.seatDir != 1) {
    v.seatDir = 0;
    changed = true;
  }
  return changed;
}

FolderCheck CheckFolder(const std::string& text, std::string* cleaned) {
  size_t start = 0;
  while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
  std::string s = text.substr(start);
  // Walk by characters so a GBK trail byte is never taken for a separator or a blank.
  std::vector<size_t> starts;
  for (size_t i = 0; i < s.size(); ++i) {
    starts.push_back(i);
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c >= 0x81 && c <= 0xFE && i + 1 < s.size()) ++i;
  }
  // Trailing blanks and separators go (a drive root keeps its backslash).
  while (!starts.empty() && starts.back() == s.size() - 1) {
    const char c = s.back();
    if (c == ' ' || c == '\t' || (c == '\\' && s.size() > 3)) {
      s.pop_back();
      starts.pop_back();
    } else {
      break;
    }
  }
  if (s.empty()) return FolderCheck::Empty;
  for (size_t k = 0; k < starts.size(); ++k) {
    const size_t i = starts[k];
    const unsigned char c = static_cast<unsigned char>(s[i]);
    const bool whole = k + 1 < starts.size() ? starts[k + 1] - i == 2 : s.size() - i == 2;
    if (c >= 0x81 && c <= 0xFE && whole) continue;
    if (c >= 0x80) return FolderCheck::BadChar;  // a lone lead byte
    if (c < 0x20 || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*') return FolderCheck::BadChar;
    if (c == ':' && i != 1) return FolderCheck::BadChar;
    if (c == '/') return FolderCheck::BadChar;
  }
  const bool drive = s.size() >= 2 && s[1] == ':' && ((s[0] >= 'A' && s[0] <= 'Z') || (s[0] >= 'a' && s[0] <= 'z'));
  const bool unc = s.size() > 2 && s[0] == '\\' && s[1] == '\\';
  if (!drive && !unc) return FolderCheck::NotAbsolute;
  if (drive && s.size() == 2) s += '\\';
  if (s.size() > 259) return FolderCheck::TooLong;
  if (cleaned) *cleaned = s;
  return FolderCheck::Ok;
}

std::vector<std::pair<std::string, std::string>> ParseFilter(const std::string& filter) {
  std::vector<std::string> parts;
  std::string cur;
  for (char c : filter) {
    if (c == '|') {
      parts.push_back(cur);
      cur.clear();
    } else if (c == '\0') {
      break;
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) parts.push_back(cur);
  std::vector<std::pair<std::string, std::string>> out;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].empty() || parts[i + 1].empty()) break;
    out.emplace_back(parts[i], parts[i + 1]);
  }
  return out;
}

std::string FilterBlock(const std::string& filter) {
  std::string block;
  for (const auto& p : ParseFilter(filter)) {
    block += p.first;
    block += '\0';
    block += p.second;
    block += '\0';
  }
  block += '\0';
  return block;
}

}  // namespace dialogs
