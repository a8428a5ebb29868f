#include "ScoreRows.h"

#include <cstdio>

namespace scoreboard {

std::vector<int> SeatColumnOrder(int playerCount) {
  if (playerCount == 3) return {2, 0, 1};
  if (playerCount == 4) return {3, 0, 1, 2};
  return {};
}

std::string FormatScore(int score) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%8d", score);
  return buf;
}

std::string FormatRowTitle(const std::string& format, int64_t first, int64_t second) {
  std::string out;
  int used = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size()) {
      if (format[i + 1] == '%') {
        out += '%';
        ++i;
        continue;
      }
      if (format[i + 1] == 'd' && used < 2) {
        out += std::to_string(used++ == 0 ? first : second);
        ++i;
        continue;
      }
    }
    out += format[i];
  }
  return out;
}

}  // namespace scoreboard
