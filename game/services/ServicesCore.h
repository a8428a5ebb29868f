// Portable pieces of the game client's small services: the game log's line, the ticket
// request body and its reply, the ranked-tier address and reply, the ticker's queue and motion.
// Standard C++ only: the Windows classes (CLogFile, GetTicket, CHttpClient, CTickerDlg) call these.
#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

// ---- game log ----
// The longest message a log line carries; a longer one is cut.
constexpr size_t LOG_MESSAGE_MAX = 1023;
// "%s %s %08x:%d %s\n": date (MM/DD/YY), time (HH:MM:SS), process id, line counter, message.
std::string FormatLogLine(const char* date, const char* time, uint32_t pid, int counter, const std::string& msg);

// ---- ticket request ----
constexpr uint32_t MSG_USER_QUERY_ID = 0x65B;
constexpr size_t USER_QUERY_BODY = 148;
enum {
  TICKET_OK = 0,
  TICKET_NO_CONNECTION = 1,
  TICKET_BAD_REQUEST = 2,  // empty host, port 0 or the send failed
  TICKET_BAD_REPLY = 3,    // no reply, status not 1, or a body too short for the ticket value
};
struct TICKET_RESULT {
  std::string strTicket;
  int nTicket = 0;
};
// User name cut to 19 characters in the first 20 bytes, text cut to 127 in the next 128.
std::vector<uint8_t> BuildUserQueryBody(const char* user, const char* text);
// A whole reply frame (header plus body, n bytes available): TICKET_OK and the result filled,
// else TICKET_BAD_REPLY and the result untouched. The text never reads past the body.
int ParseTicketReply(const uint8_t* frame, size_t n, TICKET_RESULT* result);

// ---- ranked tiers ----
// Names in query order: positions 1, 2, 0 and, with four players, 3.
std::string JoinTierNames(const std::vector<std::string>& names);
// Letters, digits and "-._~" stay, white space becomes "+", every other byte "%XX".
std::string UrlEncode(const std::string& bytes);
std::string ReplaceAll(std::string text, const std::string& from, const std::string& to);
// The template with every "%usernames%" replaced by the encoded (UTF-8) name list.
std::string BuildTierUrl(const std::string& urlTemplate, const std::string& encodedNames);
// "http://host:port/page" -> host, page (from the first "/", "/" when none), port (80 unless
// given). False for an empty host or a port outside 1..65535.
bool SplitUrl(const std::string& url, std::string* host, std::string* page, int* port);

// A parsed JSON document. The Windows side fills it from jsoncpp; ParseJson fills it here.
struct JsonValue {
  enum Type { kNull, kBool, kNumber, kString, kArray, kObject };
  Type type = kNull;
  bool boolean = false;
  double number = 0;
  std::string text;
  std::vector<JsonValue> items;
  std::vector<std::pair<std::string, JsonValue>> members;
  const JsonValue* Find(const std::string& name) const;
};
// One JSON document, "//" and "/* */" comments allowed, nesting at most 64 deep.
bool ParseJson(const std::string& text, JsonValue* out);

struct TIER_MATCH {
  int nPosition;
  int nTier;
  std::string strName;
};
// Interprets a reply tree against the seat user names: "code" 0 and for each "data" element
// with a string "username" the first seat of that name gets "levels". False when "code" is
// missing its integer meaning or not 0 (nothing matched then).
bool InterpretTierReply(const JsonValue& root, const std::vector<std::string>& seatNames,
                        std::vector<TIER_MATCH>* matches);

// ---- ticker ----
constexpr size_t TICKER_TEXT_MAX = 1023;
struct TICKER_LINE {
  std::string text;
  int nWidth = 0;
  int nHeight = 0;
};
// Cuts a line to at most 1,023 bytes (at a NUL or at length) without splitting a GBK pair.
std::string CutTickerText(const char* text, size_t length);

// The pending lines; Add may run on any thread.
class CTickerQueue {
 public:
  void Add(TICKER_LINE line);
  bool Take(TICKER_LINE* line);
  size_t Count() const;
  void Clear();

 private:
  mutable std::mutex m_lock;
  std::deque<TICKER_LINE> m_lines;
};

// The strip's timers as a state machine: one timer runs at a time; Tick is its elapse.
class CTickerMotion {
 public:
  enum { TIMER_WAIT = 1, TIMER_OPEN = 2, TIMER_CLOSE = 3, TIMER_SCROLL = 4 };
  CTickerMotion(int width, int height) : m_nWidth(width), m_nHeight(height) {}
  int ActiveTimer() const { return m_nTimer; }
  static int Interval(int timer) { return timer == TIMER_WAIT ? 1000 : 30; }
  // Runs one elapse of the active timer; the result is the timer that runs afterwards.
  int Tick(CTickerQueue& queue);
  int WindowHeight() const { return m_nWindowHeight; }
  // Where the current line is drawn (valid while HasLine).
  int LineX() const;
  int LineY() const { return (m_nHeight - m_line.nHeight) / 2; }
  bool HasLine() const { return m_bHasLine; }
  const TICKER_LINE& Line() const { return m_line; }
  double Offset() const { return m_dOffset; }

 private:
  int CurveHeight() const { return m_nStep * m_nStep / 2 + m_nStep; }
  int m_nWidth, m_nHeight;
  int m_nTimer = TIMER_WAIT;
  int m_nStep = 0;
  int m_nWindowHeight = 0;
  double m_dOffset = 0;
  bool m_bHasLine = false;
  TICKER_LINE m_line;
};
