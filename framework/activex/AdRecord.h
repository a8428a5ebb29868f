// Advertisement records (MSG_AD_RECORD frames) and how one is shown: the page names turned
// into files of the advertisement folder or default pages, and the control call that suits
// the record. Portable.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace adrecord {

struct AdRecord {
  uint32_t position = 0;  // matched against a control's position id
  uint32_t id = 0;        // the advertisement (also its sub-folder)
  uint16_t valueA = 0, valueB = 0;
  uint16_t seconds = 0;  // display time
  uint16_t kind = 0;     // page kind 1 to 4
  uint16_t height = 0, width = 0;
  std::string link1, link2, page, text;
};

const size_t kFixedSize = 36;  // header, fields and the four string lengths

// The whole frame (header included), SIZE bytes of it readable. False when it is cut short.
bool Parse(const uint8_t* frame, size_t size, AdRecord* out);

// The default page of a position kind, under the shared folder.
std::string DefaultPage(uint32_t positionKind, const std::string& share);

// Turns the page names into addresses (the rules of the advertisement folder). EXISTS tells
// whether a local file exists; REPLACEMENT (when not null) stands in for a missing page,
// else the default page does. TEXT1 and TEXT2 (both given) replace "%1" and "%2".
void ResolvePages(AdRecord& r, const std::string& share, const std::function<bool(const std::string&)>& exists,
                  const std::string* replacement, const char* text1, const char* text2);

// Which display call a record asks for, with its arguments.
struct ShowCall {
  int dispid = 0;  // 9, 10, 11, 12, or 0 for nothing
  long timeMs = 0;
  bool secondKind = false;
};
ShowCall ChooseCall(const AdRecord& r);

}  // namespace adrecord
