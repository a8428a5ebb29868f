// The user-table blocks the chat control is configured with for a table: u32 total size,
// u32 column count, u32 width per column, then one zero-padded field per column.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct CHAT_TABLE_LAYOUT {
  bool bColumnA = false;  // the launch record's optional text column
  bool bColumnB = false;  // the launch record's optional number column
  bool bWatched = false;  // the watched player's name
};

const uint32_t CHAT_WIDTH_NAME = 20;
const uint32_t CHAT_WIDTH_OPTIONAL = 16;
const uint32_t CHAT_WIDTH_WATCHED = 20;

// Column widths in order: user name, nickname, then the optional columns that are present.
std::vector<uint32_t> ChatTableWidths(const CHAT_TABLE_LAYOUT& layout);

// One block of the given fields (one per width); texts are cut to their width less one and
// zero-padded; missing fields are empty.
std::vector<uint8_t> BuildChatUserTable(const std::vector<uint32_t>& widths, const std::vector<std::string>& fields);

// The own row: user name, nickname, text column, number column as "%d", watched name.
std::vector<std::string> ChatOwnRow(const CHAT_TABLE_LAYOUT& layout, const std::string& userName,
                                    const std::string& nickName, const std::string& columnText, int columnNumber,
                                    const std::string& watchedName);
