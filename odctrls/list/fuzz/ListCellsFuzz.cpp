// Row strings as stored bytes: finding, decoding, replacing and removing cells never reads
// outside the row, and a replaced cell reads back as written.
#include <cstddef>
#include <cstdint>
#include <string>

#include "ListModel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int column = data[0] % 8;
  std::string row(reinterpret_cast<const char*>(data + 1), size - 1);
  odlist::Cell cell;
  odlist::DecodeCell(row, column, '|', &cell);
  odlist::Cell written;
  written.hasText = true;
  written.text = row.substr(0, 40);
  if (odlist::ReplaceCell(row, column, written, '|')) {
    odlist::Cell back;
    if (!odlist::DecodeCell(row, column, '|', &back) || back.text != written.text) __builtin_trap();
  }
  odlist::RemoveCell(row, column, '|');
  odlist::InsertCell(row, column, written, '|');
  return 0;
}
