// The run file through which the next start detects an abnormal end, and the pending
// remote-log file that keeps crash-report lines which could not be sent.
#pragma once
#include <functional>
#include <string>

enum RunLogKey {
  RUNLOG_START_TIME = 0,
  RUNLOG_USER_NAME,
  RUNLOG_WATCH,
  RUNLOG_SCHEDULE,
  RUNLOG_SOCKET_CLOSE,
  RUNLOG_MAIN_FRAME_CLOSE,
  RUNLOG_EXIT_INSTANCE,
  RUNLOG_KEY_COUNT
};

extern const char* const kRunLogKeys[RUNLOG_KEY_COUNT];

struct RUN_LOG {
  std::string fields[RUNLOG_KEY_COUNT];
};

struct PREVIOUS_RUN_REPORT {
  int nLevel = 0;
  std::string strDescription;  // the seven fields
  std::string strReason;
};

struct REMOTE_LOG_LINE {
  int nLevel = 0;
  std::string strTopic;   // at most 31 bytes
  std::string strText;    // at most 255 bytes
  std::string strReason;  // at most 255 bytes
};

// A user name reduced to what is safe as a file name in the program's folder: ASCII letters,
// digits, '_', '-' and whole double-byte characters; never empty, never a device name.
std::string SafeFileStem(const std::string& userName);
std::string RunLogFileName(const std::string& userName);      // "<stem>.txt"
std::string PendingLogFileName(const std::string& userName);  // "<stem>_zolt.txt"

// The text a start writes: "[ZOLT]" and the seven keys, each line ended by "\n".
std::string FormatRunLogStart(const std::string& startTime, const std::string& userName);
// Sets key=value on the key's line, appending the line when the key is missing.
std::string SetRunLogFieldInText(const std::string& text, const std::string& key, const std::string& value);
// Lines that begin with a key and '=' give that field; false for an empty text.
bool ParseRunLog(const std::string& text, RUN_LOG& log);
// What to report about a previous run whose file was still there.
PREVIOUS_RUN_REPORT DecidePreviousRun(const RUN_LOG& log);
// The run file belongs to this run when its StartTime holds this run's start time.
bool RunLogBelongsTo(const RUN_LOG& log, const std::string& startTime);

// The crash-report switch text of LangRsc.ini [ZOLT] 20010: "switch[,auto-report]".
void ParseCrashReportSwitch(const std::string& text, int& switchOn, int& autoReport);

// "%d:%s:%s:%s\n"; ':', '%' and line breaks inside the texts are escaped so the line splits back.
std::string FormatRemoteLogLine(const REMOTE_LOG_LINE& line);
// Fewer than four fields: false.
bool ParseRemoteLogLine(const std::string& line, REMOTE_LOG_LINE& out);
// Sends every line in order; returns the text to keep: the lines whose send failed, and
// everything from the first malformed line on.
std::string ReplayRemoteLog(const std::string& fileText, const std::function<bool(const REMOTE_LOG_LINE&)>& send);
