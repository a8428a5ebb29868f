// What the chat control stand-in reads: the coloured chat markup, the user-table blocks
// the client hands over, and the chat peer's line protocol. Portable, bounded parsers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qkchat {

// One run of a chat line in one style: "<s=SIZE,c=#RR#GG#BB[,b]>" starts a run.
struct Run {
  int size = 9;
  uint32_t rgb = 0;  // 0x00RRGGBB
  bool bold = false;
  std::string text;
};
using Line = std::vector<Run>;

// Splits TEXT into lines at "\r\n" or "\n" (empty lines dropped) and each line into runs.
// A '<' that does not open a well-formed tag is text.
std::vector<Line> ParseMarkup(const std::string& text);
// The markup prefix for a style.
std::string StyleTag(int size, uint32_t rgb, bool bold);

// A user-table block: u32 total size, u32 column count, u32 widths, one field per column.
// Returns false (and leaves CELLS empty) when the block is cut short or inconsistent.
bool ParseUserTable(const uint8_t* block, size_t size, std::vector<std::string>* cells);
const size_t kMaxColumns = 16;
const size_t kMaxColumnWidth = 256;

// The chat peer's protocol: one command per line, fields separated by tabs.
//   client: HELLO <cells...> | SAY <text>
//   peer:   JOIN <cells...>  | LEAVE <user> | SAY <user> <text>
std::vector<std::string> SplitFields(const std::string& line);
std::string JoinFields(const std::vector<std::string>& fields);
// Tabs and line breaks inside a field would split it: they become spaces.
std::string CleanField(const std::string& text);

// Collects bytes from a stream and hands back complete lines; a line longer than
// kMaxLine is cut there, so a peer that never sends a line break cannot grow it.
class LineBuffer {
 public:
  static constexpr size_t kMaxLine = 4096;
  void Append(const char* data, size_t n);
  bool Next(std::string* line);

 private:
  std::string m_buf;
};

}  // namespace qkchat
