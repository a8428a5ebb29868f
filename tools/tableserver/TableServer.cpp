#include "TableServer.h"

#include <poll.h>
#include <sys/socket.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <sstream>

#include "ZlibAdapter.h"

namespace peers {

using namespace netcore;

std::string DescribeFrame(const char* dir, int conn, const std::vector<uint8_t>& frame) {
  NET_MSG_HEADER h;
  DecodeHeader(frame.data(), frame.size(), &h);
  char line[160];
  std::snprintf(line, sizeof line, "%s #%d id=0x%08X len=%u", dir, conn, h.id, h.length);
  std::string s = line;
  if (h.id & NET_REPLY_BIT) s += " status=" + std::to_string(h.status);
  return s;
}

CTableConnection::CTableConnection(CTableServer& server, int fd, int number)
    : m_server(server), m_fd(fd), m_number(number), m_src(fd), m_as(server.Options().maxBody) {}

CTableConnection::~CTableConnection() { CloseFd(m_fd); }

bool CTableConnection::SendRaw(std::vector<uint8_t> frame) {
  m_server.AddLog(DescribeFrame("out", m_number, frame));
  uint32_t id = ReadU32(frame.data());
  m_send.Apply(frame.data(), frame.size());
  if (!SendAll(m_fd, frame.data(), frame.size(), 5000)) {
    m_closing = true;
    return false;
  }
  if (id != MSG_FATAL) id &= ~NET_COMPRESSED_BIT;
  m_server.OnMoment(*this, ScriptEvent::Out, id);
  return true;
}

bool CTableConnection::Send(uint32_t id, const std::vector<uint8_t>& body, uint32_t status) {
  std::vector<uint8_t> f = BuildFrame(id, body.data(), body.size(), status);
  size_t from = m_server.Options().compressFrom;
  if (from && body.size() >= from && id != MSG_FATAL) {
    std::vector<uint8_t> packed;
    if (CompressFrame(f, netcore::ZlibCompress, &packed)) f.swap(packed);
  }
  return SendRaw(std::move(f));
}

bool CTableConnection::Reply(uint32_t requestId, uint32_t status, const std::vector<uint8_t>& body) {
  return Send(requestId | NET_REPLY_BIT, body, status);
}

bool CTableConnection::SendWireCode(const WireCode& code) {
  std::vector<uint8_t> body = BuildWireCodeBody(code);
  if (!SendRaw(BuildFrame(MSG_WIRE_CODE, body.data(), body.size()))) return false;
  // What the client receives we send through the inverse of its receive transform, and what
  // it sends we undo with the inverse of its send transform.
  m_send.Install(code.recv.Inverse(), code.recvState);
  m_src.recv.Install(code.send.Inverse(), code.sendState);
  return true;
}

bool CTableServer::Start() {
  m_listen = ListenLoopback(m_opt.port, &m_port);
  if (m_listen < 0) return false;
  m_stop = false;
  m_running = true;
  m_thread = std::thread([this] { Serve(); });
  return true;
}

void CTableServer::Stop() {
  m_stop = true;
  if (m_thread.joinable()) m_thread.join();
  CloseFd(m_listen);
  m_listen = -1;
}

void CTableServer::AddLog(const std::string& line) {
  std::string stamped;
  if (m_opt.stampLog) {
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    stamped = std::to_string(ms) + " " + line;
  }
  std::lock_guard<std::mutex> g(m_logLock);
  m_log.push_back(m_opt.stampLog ? stamped : line);
}

std::vector<std::string> CTableServer::Log() const {
  std::lock_guard<std::mutex> g(m_logLock);
  return m_log;
}

bool CTableServer::WaitForLog(const std::string& text, int timeoutMs) const {
  for (int waited = 0; waited <= timeoutMs; waited += 10) {
    for (const std::string& l : Log())
      if (l.find(text) != std::string::npos) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

void CTableServer::OnMoment(CTableConnection& c, ScriptEvent::Trigger trigger, uint32_t id) {
  int seen = ++c.m_moments[{int(trigger), id}];
  for (size_t i = 0; i < m_opt.events.size(); ++i) {
    const ScriptEvent& e = m_opt.events[i];
    if (e.trigger != trigger || (trigger != ScriptEvent::Accept && e.id != id)) continue;
    if (seen == e.nth || (e.every && seen > e.nth))
      m_pending.push_back({std::chrono::steady_clock::now() + std::chrono::milliseconds(e.delayMs), c.Number(), i});
  }
}

// Sends the scheduled events that are due to connections still open.
void CTableServer::SendDueEvents(std::vector<std::unique_ptr<CTableConnection>>& conns) {
  auto now = std::chrono::steady_clock::now();
  // Sending may schedule more (out moments); those wait for the next round.
  std::vector<PendingEvent> due;
  for (size_t i = 0; i < m_pending.size();) {
    if (m_pending[i].due <= now) {
      due.push_back(m_pending[i]);
      m_pending.erase(m_pending.begin() + long(i));
    } else {
      ++i;
    }
  }
  for (const PendingEvent& p : due) {
    for (auto& c : conns) {
      if (c->Number() != p.connection || c->Closing()) continue;
      const ScriptEvent& e = m_opt.events[p.event];
      char line[80];
      std::snprintf(line, sizeof line, "script #%d id=0x%08X", p.connection, e.sendId);
      AddLog(line);
      c->Send(e.sendId, e.body, e.sendStatus);
    }
  }
}

void CTableServer::LogBody(const CTableConnection& c, const std::vector<uint8_t>& frame) {
  NET_MSG_HEADER h;
  DecodeHeader(frame.data(), frame.size(), &h);
  bool watched = false;
  for (uint32_t id : m_opt.watch) watched = watched || id == h.id;
  if (!watched && !(h.id & NET_REPLY_BIT)) return;
  size_t from = HeaderSizeForId(h.id);
  char line[64];
  std::snprintf(line, sizeof line, "body #%d id=0x%08X ", c.Number(), h.id);
  std::string s = line;
  static const char kHex[] = "0123456789abcdef";
  for (size_t i = from; i < frame.size() && i < from + 512; ++i) {
    s += kHex[frame[i] >> 4];
    s += kHex[frame[i] & 15];
  }
  AddLog(s);
}

void CTableServer::OnFrame(CTableConnection& c, const std::vector<uint8_t>& frame) {
  NET_MSG_HEADER h;
  DecodeHeader(frame.data(), frame.size(), &h);
  LogBody(c, frame);
  OnMoment(c, ScriptEvent::In, h.id);
  auto handler = m_handlers.find(h.id);
  if (handler != m_handlers.end()) {
    handler->second(c, frame);
    return;
  }
  if (h.id & NET_REPLY_BIT) return;  // answers from the client need no answer
  const uint8_t* body = frame.data() + HeaderSizeForId(h.id);
  auto rule = m_opt.replies.find(h.id);
  ScriptReply r;
  if (rule != m_opt.replies.end()) {
    r = rule->second;
  } else if (m_opt.echoUnknown) {
    r.echo = true;
  } else {
    return;
  }
  if (r.silent) return;
  if (r.delayMs) std::this_thread::sleep_for(std::chrono::milliseconds(r.delayMs));
  if (r.wireCodeFirst) c.SendWireCode(m_opt.wireCode);
  c.Reply(h.id, r.status, r.echo ? std::vector<uint8_t>(body, body + h.length) : r.body);
  if (r.closeAfter) c.Close();
}

// Reads what is there frame by frame; each frame may switch the transforms.
void CTableServer::Drain(CTableConnection& c) {
  for (int turn = 0; turn < 64 && !c.Closing(); ++turn) {
    int err = 0;
    CFrameAssembler::Status st = c.m_as.ReadOnce(c.m_src, &err);
    if (st == CFrameAssembler::kIncomplete) continue;
    if (st == CFrameAssembler::kWouldBlock) break;
    if (st == CFrameAssembler::kFrame) {
      std::vector<uint8_t> f = c.m_as.TakeFrame();
      AddLog(DescribeFrame("in", c.Number(), f));
      OnFrame(c, f);
      continue;
    }
    if (st == CFrameAssembler::kClosed)
      AddLog("closed #" + std::to_string(c.Number()));
    else if (st == CFrameAssembler::kTooLong)
      AddLog("drop #" + std::to_string(c.Number()) + " bad stream (length beyond the bound)");
    else
      AddLog("drop #" + std::to_string(c.Number()) + " bad stream (read error " + std::to_string(err) + ")");
    c.Close();
  }
}

void CTableServer::ServeDescriptor(int fd, int maxRounds) {
  CTableConnection c(*this, fd, 1);
  AddLog("accept #1");
  for (auto& g : m_opt.greeting) c.Send(g.first.first, g.second, g.first.second);
  if (m_onAccept) m_onAccept(c);
  for (int round = 0; round < maxRounds && !c.Closing(); ++round) {
    Drain(c);
    if (m_onTick) m_onTick();
  }
  if (m_onClose) m_onClose(c);
  m_pending.clear();
}

void CTableServer::Serve() {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(m_opt.maxSeconds);
  std::vector<std::unique_ptr<CTableConnection>> conns;
  int next = 1;
  while (!m_stop && (m_opt.maxSeconds <= 0 || std::chrono::steady_clock::now() < deadline)) {
    std::vector<pollfd> fds{{m_listen, POLLIN, 0}};
    for (auto& c : conns) fds.push_back({c->m_fd, POLLIN, 0});
    if (poll(fds.data(), fds.size(), 50) < 0) continue;
    if (fds[0].revents & POLLIN) {
      int fd = accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd >= 0) {
        conns.push_back(std::make_unique<CTableConnection>(*this, fd, next++));
        CTableConnection& c = *conns.back();
        AddLog("accept #" + std::to_string(c.Number()));
        for (auto& g : m_opt.greeting) c.Send(g.first.first, g.second, g.first.second);
        if (m_onAccept) m_onAccept(c);
        OnMoment(c, ScriptEvent::Accept, 0);
      }
    }
    for (size_t i = 1; i < fds.size(); ++i)
      if (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) Drain(*conns[i - 1]);
    SendDueEvents(conns);
    if (m_onTick) m_onTick();
    for (size_t i = conns.size(); i-- > 0;) {
      if (!conns[i]->Closing()) continue;
      if (m_onClose) m_onClose(*conns[i]);
      conns.erase(conns.begin() + long(i));
    }
  }
  for (auto& c : conns)
    if (m_onClose) m_onClose(*c);
  conns.clear();
  m_running = false;
}

namespace {

bool ParseHex(const std::string& s, std::vector<uint8_t>* out) {
  out->clear();
  if (s == "-") return true;
  if (s.rfind("text:", 0) == 0) {
    out->assign(s.begin() + 5, s.end());
    out->push_back(0);
    return true;
  }
  if (s.size() % 2) return false;
  for (size_t i = 0; i < s.size(); i += 2) {
    unsigned v;
    if (std::sscanf(s.substr(i, 2).c_str(), "%2x", &v) != 1) return false;
    out->push_back(uint8_t(v));
  }
  return true;
}

bool ParseNumber(const std::string& s, uint32_t* v) {
  if (s.empty()) return false;
  char* end = nullptr;
  unsigned long n = std::strtoul(s.c_str(), &end, 0);
  if (*end || n > 0xFFFFFFFFul) return false;
  *v = uint32_t(n);
  return true;
}

bool ParseProgram(const std::string& s, CWireProgram* out) {
  if (s == "-") {
    *out = CWireProgram();
    return true;
  }
  std::vector<WireStep> steps;
  std::stringstream ss(s);
  std::string item;
  static const char* kOps[] = {"", "xor", "add", "sub", "rol", "ror"};
  while (std::getline(ss, item, ',')) {
    size_t colon = item.find(':');
    if (colon == std::string::npos) return false;
    WireStep st;
    st.op = 0;
    for (uint8_t i = 1; i <= 5; ++i)
      if (item.substr(0, colon) == kOps[i]) st.op = i;
    if (!st.op || !ParseNumber(item.substr(colon + 1), &st.key)) return false;
    steps.push_back(st);
  }
  if (steps.empty() || steps.size() > WIRE_MAX_STEPS) return false;
  *out = CWireProgram(steps);
  return true;
}

// on <moment> [delay=MS] [every] send <id> <status> <body>
bool ParseEvent(const std::vector<std::string>& w, TableServerOptions* opt) {
  ScriptEvent e;
  const std::string& m = w[1];
  if (m == "accept") {
    e.trigger = ScriptEvent::Accept;
  } else {
    size_t colon = m.find(':');
    if (colon == std::string::npos) return false;
    std::string kind = m.substr(0, colon), id = m.substr(colon + 1);
    if (kind == "in")
      e.trigger = ScriptEvent::In;
    else if (kind == "out")
      e.trigger = ScriptEvent::Out;
    else
      return false;
    uint32_t nth = 1;
    if (size_t at = id.find('@'); at != std::string::npos) {
      if (!ParseNumber(id.substr(at + 1), &nth) || nth < 1 || nth > 100000) return false;
      id.erase(at);
    }
    e.nth = int(nth);
    if (!ParseNumber(id, &e.id)) return false;
  }
  size_t i = 2;
  for (; i < w.size() && w[i] != "send"; ++i) {
    uint32_t ms;
    if (w[i] == "every")
      e.every = true;
    else if (w[i].rfind("delay=", 0) == 0 && ParseNumber(w[i].substr(6), &ms) && ms <= 600000)
      e.delayMs = int(ms);
    else
      return false;
  }
  if (i + 4 != w.size()) return false;
  if (!ParseNumber(w[i + 1], &e.sendId) || !ParseNumber(w[i + 2], &e.sendStatus) || !ParseHex(w[i + 3], &e.body))
    return false;
  opt->events.push_back(e);
  return true;
}

}  // namespace

bool ParseTableScript(const std::string& text, TableServerOptions* opt, std::string* error) {
  std::istringstream in(text);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::vector<std::string> w;
    for (std::string x; words >> x;) w.push_back(x);
    if (w.empty()) continue;
    bool ok = false;
    uint32_t a = 0, b = 0;
    if (w[0] == "port" && w.size() == 2) {
      ok = ParseNumber(w[1], &a) && a <= 65535;
      opt->port = uint16_t(a);
    } else if (w[0] == "seconds" && w.size() == 2) {
      ok = ParseNumber(w[1], &a) && a > 0 && a <= 3600;
      opt->maxSeconds = int(a);
    } else if (w[0] == "compress" && w.size() == 2) {
      ok = ParseNumber(w[1], &a);
      opt->compressFrom = a;
    } else if (w[0] == "echo" && w.size() == 1) {
      ok = opt->echoUnknown = true;
    } else if (w[0] == "silent" && w.size() == 2) {
      ok = ParseNumber(w[1], &a);
      opt->replies[a].silent = true;
    } else if (w[0] == "reply" && w.size() >= 4) {
      ScriptReply r;
      ok = ParseNumber(w[1], &a) && ParseNumber(w[2], &r.status);
      if (w[3] == "echo")
        r.echo = true;
      else
        ok = ok && ParseHex(w[3], &r.body);
      for (size_t i = 4; ok && i < w.size(); ++i) {
        uint32_t ms;
        if (w[i] == "close")
          r.closeAfter = true;
        else if (w[i] == "wirecode")
          r.wireCodeFirst = true;
        else if (w[i].rfind("delay=", 0) == 0 && ParseNumber(w[i].substr(6), &ms) && ms <= 60000)
          r.delayMs = int(ms);
        else
          ok = false;
      }
      if (ok) opt->replies[a] = r;
    } else if (w[0] == "greet" && w.size() == 4) {
      std::vector<uint8_t> body;
      ok = ParseNumber(w[1], &a) && ParseNumber(w[2], &b) && ParseHex(w[3], &body);
      if (ok) opt->greeting.push_back({{a, b}, body});
    } else if (w[0] == "on" && w.size() >= 6) {
      ok = ParseEvent(w, opt);
    } else if (w[0] == "watch" && w.size() == 2) {
      ok = ParseNumber(w[1], &a);
      if (ok) opt->watch.push_back(a);
    } else if (w[0] == "wirecode" && w.size() == 5) {
      WireCode c;
      ok = ParseNumber(w[1], &c.sendState) && ParseNumber(w[2], &c.recvState) && ParseProgram(w[3], &c.send) &&
           ParseProgram(w[4], &c.recv);
      if (ok) opt->wireCode = c;
    }
    if (!ok) {
      if (error) *error = "line " + std::to_string(number) + ": " + line;
      return false;
    }
  }
  return true;
}

}  // namespace peers
