#include "RunLog.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

const char* const kRunLogKeys[RUNLOG_KEY_COUNT] = {"StartTime",   "UserName",       "Watch",       "Schedule",
                                                   "SocketClose", "MainFrameClose", "ExitInstance"};

namespace {

const size_t kMaxStem = 40;

bool IsDeviceName(const std::string& stem) {
  std::string upper;
  for (char c : stem) upper.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
  std::string base = upper.substr(0, upper.find('.'));
  static const char* const names[] = {"CON", "PRN", "AUX", "NUL", "CLOCK$"};
  for (const char* n : names)
    if (base == n) return true;
  if (base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) && base[3] >= '0' &&
      base[3] <= '9')
    return true;
  return false;
}

// Cuts a GBK text to at most max bytes without splitting a double-byte character.
std::string CutText(const std::string& s, size_t max) {
  size_t i = 0;
  while (i < s.size()) {
    size_t w = (static_cast<unsigned char>(s[i]) >= 0x81 && i + 1 < s.size()) ? 2 : 1;
    if (i + w > max) break;
    i += w;
  }
  return s.substr(0, i);
}

std::string Escape(const std::string& s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '%':
        out += "%25";
        break;
      case ':':
        out += "%3A";
        break;
      case '\n':
        out += "%0A";
        break;
      case '\r':
        out += "%0D";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string Unescape(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size()) {
      int hi = HexDigit(s[i + 1]), lo = HexDigit(s[i + 2]);
      if (hi >= 0 && lo >= 0) {
        out.push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
        continue;
      }
    }
    out.push_back(s[i]);
  }
  return out;
}

}  // namespace

std::string SafeFileStem(const std::string& userName) {
  std::string out;
  for (size_t i = 0; i < userName.size() && out.size() < kMaxStem; ++i) {
    unsigned char c = static_cast<unsigned char>(userName[i]);
    if (c >= 0x81 && c <= 0xFE && i + 1 < userName.size()) {
      unsigned char t = static_cast<unsigned char>(userName[i + 1]);
      // A trail byte may be '\\' or '|' in GBK: such a character is replaced whole.
      bool trailOk = t >= 0x40 && t != 0x7F && t != 0xFF && t != '\\' && t != '|';
      if (trailOk) {
        out.push_back(static_cast<char>(c));
        out.push_back(static_cast<char>(t));
      } else {
        out.push_back('_');
      }
      ++i;
    } else if (std::isalnum(c) || c == '_' || c == '-') {
      out.push_back(static_cast<char>(c));
    } else {
      out.push_back('_');
    }
  }
  if (out.empty()) out = "_";
  if (IsDeviceName(out)) out = "_" + out;
  return out;
}

std::string RunLogFileName(const std::string& userName) { return SafeFileStem(userName) + ".txt"; }
std::string PendingLogFileName(const std::string& userName) { return SafeFileStem(userName) + "_zolt.txt"; }

std::string FormatRunLogStart(const std::string& startTime, const std::string& userName) {
  return "[ZOLT]\nStartTime=" + startTime + "\nUserName=" + userName +
         "\nWatch=0\nSchedule=1\nSocketClose=0\nMainFrameClose=0\nExitInstance=0\n";
}

std::string SetRunLogFieldInText(const std::string& text, const std::string& key, const std::string& value) {
  std::string out;
  bool done = false;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t nl = text.find('\n', pos);
    std::string line = text.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
    pos = nl == std::string::npos ? text.size() : nl + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!done && line.size() > key.size() && line.compare(0, key.size(), key) == 0 && line[key.size()] == '=') {
      line = key + "=" + value;
      done = true;
    }
    out += line + "\n";
  }
  if (!done) out += key + "=" + value + "\n";
  return out;
}

bool ParseRunLog(const std::string& text, RUN_LOG& log) {
  RUN_LOG r;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t nl = text.find('\n', pos);
    std::string line = text.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
    pos = nl == std::string::npos ? text.size() : nl + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    for (int k = 0; k < RUNLOG_KEY_COUNT; ++k) {
      size_t n = std::strlen(kRunLogKeys[k]);
      if (line.size() > n && line.compare(0, n, kRunLogKeys[k]) == 0 && line[n] == '=') {
        r.fields[k] = line.substr(n + 1);
        break;
      }
    }
  }
  log = r;
  return !text.empty();
}

PREVIOUS_RUN_REPORT DecidePreviousRun(const RUN_LOG& log) {
  PREVIOUS_RUN_REPORT rep;
  rep.strDescription = "starttime,username,watch,schedule,socketclose,mainframeclose,exitinstance(";
  for (int k = 0; k < RUNLOG_KEY_COUNT; ++k) {
    if (k) rep.strDescription += ",";
    rep.strDescription += log.fields[k];
  }
  rep.strDescription += ")";
  if (log.fields[RUNLOG_SOCKET_CLOSE] == "0") {
    rep.strReason = "program abnormal end";
    rep.nLevel = 0;
  } else if (log.fields[RUNLOG_MAIN_FRAME_CLOSE] == "0") {
    rep.strReason = "previous window still exist";
    rep.nLevel = 5;
  } else if (log.fields[RUNLOG_EXIT_INSTANCE] == "0") {
    rep.strReason = "program closed,but not call exitinstance";
    rep.nLevel = 5;
  } else {
    rep.strReason = "program closed,but delete file failure";
    rep.nLevel = 0;
  }
  return rep;
}

bool RunLogBelongsTo(const RUN_LOG& log, const std::string& startTime) {
  return !startTime.empty() && log.fields[RUNLOG_START_TIME].find(startTime) != std::string::npos;
}

void ParseCrashReportSwitch(const std::string& text, int& switchOn, int& autoReport) {
  switchOn = std::atoi(text.c_str());
  autoReport = 1;
  if (switchOn == 0) return;
  size_t comma = text.find(',');
  if (comma != std::string::npos) autoReport = std::atoi(text.c_str() + comma + 1);
}

std::string FormatRemoteLogLine(const REMOTE_LOG_LINE& line) {
  return std::to_string(line.nLevel) + ":" + Escape(line.strTopic) + ":" + Escape(line.strText) + ":" +
         Escape(line.strReason) + "\n";
}

bool ParseRemoteLogLine(const std::string& line, REMOTE_LOG_LINE& out) {
  size_t c1 = line.find(':');
  if (c1 == std::string::npos) return false;
  size_t c2 = line.find(':', c1 + 1);
  if (c2 == std::string::npos) return false;
  size_t c3 = line.find(':', c2 + 1);
  if (c3 == std::string::npos) return false;
  REMOTE_LOG_LINE r;
  r.nLevel = std::atoi(line.substr(0, c1).c_str());
  r.strTopic = CutText(Unescape(line.substr(c1 + 1, c2 - c1 - 1)), 31);
  r.strText = CutText(Unescape(line.substr(c2 + 1, c3 - c2 - 1)), 255);
  r.strReason = CutText(Unescape(line.substr(c3 + 1)), 255);
  out = r;
  return true;
}

std::string ReplayRemoteLog(const std::string& fileText, const std::function<bool(const REMOTE_LOG_LINE&)>& send) {
  std::string keep;
  size_t pos = 0;
  while (pos < fileText.size()) {
    size_t nl = fileText.find('\n', pos);
    size_t next = nl == std::string::npos ? fileText.size() : nl + 1;
    std::string line = fileText.substr(pos, next - pos);
    std::string body = line;
    while (!body.empty() && (body.back() == '\n' || body.back() == '\r')) body.pop_back();
    if (body.empty()) {
      pos = next;
      continue;
    }
    REMOTE_LOG_LINE parsed;
    if (!ParseRemoteLogLine(body, parsed)) {
      keep += fileText.substr(pos);  // the malformed rest stays for a person to look at
      break;
    }
    if (!send(parsed)) keep += body + "\n";
    pos = next;
  }
  return keep;
}
