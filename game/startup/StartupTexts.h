// Texts start-up builds: the window title, the run's start time, the screenshot file name
// and the remote-log line of a failed table entry (GBK where Chinese).
#pragma once
#include <string>

// "Trebbin %s %s[%s]" with room title, nickname and user name; a watcher (as entered) gets "（旁观）".
std::string FormatMainWindowTitle(const std::string& roomTitle, const std::string& nickName,
                                  const std::string& userName, bool watchEntered);

// "%Y%m%d%H%M%S"
std::string FormatStartTime(int year, int month, int day, int hour, int minute, int second);

// "%s\%04d年%02d月%02d日%02d时%02d分%02d秒%03d.jpg"
std::string FormatScreenshotPath(const std::string& folder, int year, int month, int day, int hour, int minute,
                                 int second, int milliseconds);

// "can not enter channel,Vesk %d" with 581
std::string FormatEnterChannelFailure();
