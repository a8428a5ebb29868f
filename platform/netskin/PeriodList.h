// Usage periods of the net skin: "date[ time]-date[ time]" spans and
// "date-date&time-time" daily windows, parsed and tested against a time, with the entry
// lines of GameClientSkin.ini that carry them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace netskin {

struct DateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

struct Period {
  DateTime start, end;
  int kind = 1;  // 1 one span, 2 a daily window between two dates
  int value = 0;
};

class CPeriodList {
 public:
  explicit CPeriodList(std::string periodSeparator = "-", std::string listSeparator = ",")
      : m_periodSep(std::move(periodSeparator)), m_listSep(std::move(listSeparator)) {}

  // Adds one period; refusePast drops periods already over at `today` or running backwards.
  bool Add(const std::string& text, int value, bool refusePast, const DateTime& today);
  // 1 when `t` lies in a period (its value in *value).
  bool Find(const DateTime& t, int* value) const;
  // True when empty or `t` is after every period.
  bool AllOver(const DateTime& t) const;
  size_t Count() const { return m_periods.size(); }
  const Period& At(size_t i) const { return m_periods[i]; }

  // -1 before, 0 inside, 1 after.
  static int Compare(const Period& p, const DateTime& t);
  static bool Parse(const std::string& text, const std::string& periodSep, const std::string& listSep, Period* out);

 private:
  std::string m_periodSep, m_listSep;
  std::vector<Period> m_periods;
};

// One line of GameClientSkin.ini: seven comma-separated fields.
struct SkinEntry {
  int id = 0;
  std::string skinName;
  std::string folder;  // confined: no "..", separators or drive letters
  std::string period;
  std::string package;
  std::string version;
  int flags = 0;  // masked with 0xB
};

// False for a line with fewer than seven fields or a folder that would leave the skin
// folder; texts are cut at 31 bytes.
bool ParseSkinEntry(const std::string& line, SkinEntry* out);
// A folder name the server may give: one plain path part.
bool IsConfinedFolderName(const std::string& name);
// Up to four dot-separated decimal parts, one byte each, the first in the highest byte;
// each part clamped to 255.
uint32_t PackVersion(const std::string& text);

}  // namespace netskin
