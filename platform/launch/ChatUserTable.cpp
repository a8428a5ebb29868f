#include "ChatUserTable.h"

#include "GbkText.h"

#include <algorithm>
#include <cstring>

namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

std::vector<uint32_t> ChatTableWidths(const CHAT_TABLE_LAYOUT& layout) {
  std::vector<uint32_t> widths = {CHAT_WIDTH_NAME, CHAT_WIDTH_NAME};
  if (layout.bColumnA) widths.push_back(CHAT_WIDTH_OPTIONAL);
  if (layout.bColumnB) widths.push_back(CHAT_WIDTH_OPTIONAL);
  if (layout.bWatched) widths.push_back(CHAT_WIDTH_WATCHED);
  return widths;
}

std::vector<uint8_t> BuildChatUserTable(const std::vector<uint32_t>& widths, const std::vector<std::string>& fields) {
  uint32_t total = 8 + 4 * static_cast<uint32_t>(widths.size());
  for (uint32_t w : widths) total += w;
  std::vector<uint8_t> out;
  out.reserve(total);
  PutU32(out, total);
  PutU32(out, static_cast<uint32_t>(widths.size()));
  for (uint32_t w : widths) PutU32(out, w);
  for (size_t i = 0; i < widths.size(); ++i) {
    size_t start = out.size();
    out.resize(start + widths[i], 0);
    if (i < fields.size() && widths[i] > 0) {
      size_t n = GbkFitLength(fields[i].data(), fields[i].size(), widths[i] - 1);
      std::memcpy(out.data() + start, fields[i].data(), n);
    }
  }
  return out;
}

std::vector<std::string> ChatOwnRow(const CHAT_TABLE_LAYOUT& layout, const std::string& userName,
                                    const std::string& nickName, const std::string& columnText, int columnNumber,
                                    const std::string& watchedName) {
  std::vector<std::string> row = {userName, nickName};
  if (layout.bColumnA) row.push_back(columnText);
  if (layout.bColumnB) row.push_back(std::to_string(columnNumber));
  if (layout.bWatched) row.push_back(watchedName);
  return row;
}
