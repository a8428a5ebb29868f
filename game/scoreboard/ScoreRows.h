// The score board's row forms without windows: which view position each score column
// shows, how a score is written, and row titles filled from their resource formats.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace scoreboard {

// View positions of the score columns after the first: 2, 0, 1 with three players and
// 3, 0, 1, 2 with four; other counts give no columns.
std::vector<int> SeatColumnOrder(int playerCount);

// "%8d".
std::string FormatScore(int score);

// A title format with up to two "%d" (the only conversion it may hold; "%%" stays a
// percent sign) filled with the numbers; any other conversion is written as it stands.
// The numbers are wide enough for any 32-bit count the server sends, plus one.
std::string FormatRowTitle(const std::string& format, int64_t first, int64_t second = 0);

// The 1-based number of a 0-based hand or series count from the server, without wrapping.
inline int64_t OneBased(uint32_t zeroBased) { return static_cast<int64_t>(zeroBased) + 1; }

}  // namespace scoreboard
