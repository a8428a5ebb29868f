// The table server's connection layer: accepts clients on 127.0.0.1, assembles their frames,
// answers requests with reply frames and status words, compresses bodies (bit 30), installs
// stream transforms with MSG_WIRE_CODE and logs every frame. Game logic plugs in as handlers;
// tests and the command line drive it with a small script.
#pragma once
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "LoopbackNet.h"
#include "WireTransform.h"

namespace peers {

class CTableServer;

class CTableConnection {
 public:
  CTableConnection(CTableServer& server, int fd, int number);
  ~CTableConnection();
  // Sends a frame (compressed when the server's rule says so, transformed when installed).
  bool Send(uint32_t id, const std::vector<uint8_t>& body, uint32_t status = 0);
  // Answers request `requestId` with the reply id requestId | 0x80000000 and a status word.
  bool Reply(uint32_t requestId, uint32_t status, const std::vector<uint8_t>& body);
  // Sends MSG_WIRE_CODE (the client's view: its send and receive programs and states) and
  // switches this side's transforms on right behind it.
  bool SendWireCode(const netcore::WireCode& code);
  void Close() { m_closing = true; }
  int Number() const { return m_number; }
  bool Closing() const { return m_closing; }

 private:
  friend class CTableServer;
  bool SendRaw(std::vector<uint8_t> frame);
  CTableServer& m_server;
  int m_fd;
  int m_number;
  bool m_closing = false;
  CSocketSource m_src;
  netcore::CFrameAssembler m_as;
  netcore::CWireTransform m_send;
  std::map<std::pair<int, uint32_t>, int> m_moments;  // (trigger, id) -> how often so far
};

struct ScriptReply {
  bool silent = false;  // no answer at all
  uint32_t status = 1;
  std::vector<uint8_t> body;
  bool echo = false;  // answer with the request's own body
  int delayMs = 0;
  bool closeAfter = false;     // close the connection after answering
  bool wireCodeFirst = false;  // send MSG_WIRE_CODE before the answer
};

// A frame the server sends by itself at a moment of the game: when a client frame with `id`
// arrives (In), when the server sends a frame with `id` (Out; the compression bit is ignored),
// or when a client connects (Accept). It goes to the connection the moment happened on.
struct ScriptEvent {
  enum Trigger { Accept, In, Out } trigger = In;
  uint32_t id = 0;
  int nth = 1;         // fires at the nth such moment on a connection
  bool every = false;  // and at every later one too
  int delayMs = 0;     // after the moment; the server keeps serving meanwhile
  uint32_t sendId = 0;
  uint32_t sendStatus = 0;
  std::vector<uint8_t> body;
};

struct TableServerOptions {
  uint16_t port = 0;                        // 0: an ephemeral port
  int maxSeconds = 30;                      // the server stops by itself after this; 0: runs until stopped
  bool bots = false;                        // seat bots at the table (used by the game logic's handlers)
  size_t compressFrom = 0;                  // bodies of at least this size go compressed; 0: never
  netcore::WireCode wireCode;               // used by rules with wireCodeFirst
  std::map<uint32_t, ScriptReply> replies;  // by request id
  bool echoUnknown = false;                 // requests without a rule get their body back with status 1
  // Frames sent to every client right after accepting: id, status, body.
  std::vector<std::pair<std::pair<uint32_t, uint32_t>, std::vector<uint8_t>>> greeting;
  uint32_t maxBody = netcore::NET_MAX_BODY;
  std::vector<ScriptEvent> events;
  // Client frames whose bodies are logged in hex ("body #N id=0x... hex"); answers (ids with
  // bit 31) are always logged so.
  std::vector<uint32_t> watch;
  // Every log line starts with the wall clock in Unix milliseconds ("1765432100123 in #1 ..."),
  // so that a benchmark lines the server's moments up with the client's.
  bool stampLog = false;
};

// Parses a script text; false with a message naming the bad line.
//   port N | seconds N | compress N | echo
//   reply <id> <status> <hex>|text:<text>|echo|- [delay=MS] [close] [wirecode]
//   silent <id>
//   greet <id> <status> <hex>|-
//   wirecode <send-state> <recv-state> <send-program> <recv-program>
//     programs are the client's, steps "op:key" joined by commas (xor add sub rol ror) or "-"
//   on <moment> [delay=MS] [every] send <id> <status> <hex>|text:<text>|-
//     moment: accept | in:<id>[@N] | out:<id>[@N]   (the Nth frame of that id on the connection)
//     e.g. "on out:0x20C delay=500 send 0x12013 0 05000000" pauses the table half a second
//     after the deal; logged as "script #N id=..." followed by the usual "out" line.
//   watch <id>   logs the bodies of the client's frames with that id
bool ParseTableScript(const std::string& text, TableServerOptions* opt, std::string* error);

class CTableServer {
 public:
  using Handler = std::function<void(CTableConnection&, const std::vector<uint8_t>& frame)>;
  explicit CTableServer(TableServerOptions opt) : m_opt(std::move(opt)) {}
  ~CTableServer() { Stop(); }
  // Listens and starts the serving thread; false when the port cannot be bound.
  bool Start();
  uint16_t Port() const { return m_port; }
  void Stop();
  bool Running() const { return m_running; }
  // Game logic: a handler for an id takes precedence over the script.
  void SetHandler(uint32_t id, Handler h) { m_handlers[id] = std::move(h); }
  // Called on the serving thread right after a client is accepted, and right before a closed
  // connection object is destroyed (so game logic can drop what points at it).
  using ConnectionHook = std::function<void(CTableConnection&)>;
  void SetAcceptHook(ConnectionHook h) { m_onAccept = std::move(h); }
  void SetCloseHook(ConnectionHook h) { m_onClose = std::move(h); }
  // Called on the serving thread at least every 50 ms (for game logic that waits).
  void SetTickHook(std::function<void()> h) { m_onTick = std::move(h); }
  std::vector<std::string> Log() const;
  // Waits (bounded) until the log holds a line containing `text`.
  bool WaitForLog(const std::string& text, int timeoutMs) const;
  void AddLog(const std::string& line);
  const TableServerOptions& Options() const { return m_opt; }
  // Serves one client over a connected descriptor on the caller's thread until it closes (or
  // maxRounds reads): no listening socket, no serving thread. The fuzz target's way in.
  void ServeDescriptor(int fd, int maxRounds);

 private:
  friend class CTableConnection;
  void Serve();
  void OnFrame(CTableConnection& c, const std::vector<uint8_t>& frame);
  void Drain(CTableConnection& c);
  // A moment of the game on connection c: schedules the script's events it fires.
  void OnMoment(CTableConnection& c, ScriptEvent::Trigger trigger, uint32_t id);
  void SendDueEvents(std::vector<std::unique_ptr<CTableConnection>>& conns);
  void LogBody(const CTableConnection& c, const std::vector<uint8_t>& frame);

  struct PendingEvent {
    std::chrono::steady_clock::time_point due;
    int connection;
    size_t event;
  };
  std::vector<PendingEvent> m_pending;  // serving thread only

  TableServerOptions m_opt;
  std::map<uint32_t, Handler> m_handlers;
  ConnectionHook m_onAccept, m_onClose;
  std::function<void()> m_onTick;
  int m_listen = -1;
  uint16_t m_port = 0;
  std::thread m_thread;
  std::atomic<bool> m_stop{false};
  std::atomic<bool> m_running{false};
  mutable std::mutex m_logLock;
  std::vector<std::string> m_log;
};

std::string DescribeFrame(const char* dir, int conn, const std::vector<uint8_t>& frame);

}  // namespace peers
