#include "StartupTexts.h"

#include <cstdio>

std::string FormatMainWindowTitle(const std::string& roomTitle, const std::string& nickName,
                                  const std::string& userName, bool watchEntered) {
  std::string title = "Trebbin " + roomTitle + " " + nickName + "[" + userName + "]";
  if (watchEntered) title += "\xA3\xA8\xC5\xD4\xB9\xDB\xA3\xA9";
  return title;
}

std::string FormatStartTime(int year, int month, int day, int hour, int minute, int second) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d%02d%02d%02d", year, month, day, hour, minute, second);
  return buf;
}

std::string FormatScreenshotPath(const std::string& folder, int year, int month, int day, int hour, int minute,
                                 int second, int milliseconds) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "%04d\xC4\xEA%02d\xD4\xC2%02d\xC8\xD5%02d\xCA\xB1%02d\xB7\xD6%02d\xC3\xEB%03d.jpg",
                year, month, day, hour, minute, second, milliseconds);
  return folder + "\\" + buf;
}

std::string FormatEnterChannelFailure() {
  char buf[48];
  std::snprintf(buf, sizeof buf, "can not enter channel,Vesk %d", 581);
  return buf;
}
