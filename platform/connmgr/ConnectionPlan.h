// The connection manager's decisions, free of sockets and files: which path a
// connect takes (direct, through the interconnect proxy, firewall mode), the
// fallbacks between them, and every connection-log line on the way.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace connmgr {

// The one-byte key of the name scrambling in VodoVozev.dat. Files written by
// another tool match only when that tool used the same key.
constexpr uint8_t kScrambleKey = 0x5A;

// Section and key names of VodoVozev.dat: each byte XORed with the key, two
// upper-case hex digits per byte. Unchanged without the scramble flag; "" stays "".
std::string ScrambleName(const std::string& name, bool scramble);
// The reverse; nullopt for text that is not an even run of hex digits.
std::optional<std::string> UnscrambleName(const std::string& text);

// A numbered VodoVozev entry "host;port;port;..." -> host when the list holds `port`.
std::optional<std::string> EntryHostForPort(const std::string& entry, int port);

// Looks through the numbered keys "1".."499" (ending at the first missing one) for the
// first entry that serves `port`; `lookup(key)` returns nullopt for a missing key.
std::optional<std::string> FindInterconnectHost(
    const std::function<std::optional<std::string>(const std::string&)>& lookup, int port);

// One line of the connection log: "%s %5d %s\n" with the time as "%y/%m/%d %H:%M:%S".
std::string FormatLogLine(const std::string& timeText, int pid, const std::string& message);

// printf-style formatting into the log's 1024-byte message.
std::string LogText(const char* fmt, ...);

// What the path choice needs from the connection manager.
class ConnectHost {
 public:
  virtual ~ConnectHost() = default;
  virtual void Log(const std::string& line) = 0;
  // Settings (read at construction, or from the files on each connect).
  virtual bool OtherProxy() = 0;
  virtual bool Use80PortSvr() = 0;
  virtual std::optional<std::string> FirewallProxyHost() = 0;  // key 80PortIP
  // "UseZuzeZed": 0 when the user switched the interconnect proxy off. A missing
  // value is written as "1" by the implementation and read as 1.
  virtual int UseInterconnect() = 0;
  virtual std::optional<std::string> InterconnectHostForPort(int port) = 0;
  virtual bool ServerMarkedForInterconnect(const std::string& host, int port) = 0;
  // Attempts.
  virtual bool ConnectDirect(const std::string& host, int port, bool interactive) = 0;
  virtual bool ConnectViaProxy(const std::string& host, int port, bool interactive, bool p80) = 0;
  virtual bool Cancelled() = 0;  // the user cancelled the last attempt
  virtual void ClearOutsideCancel() = 0;
  virtual void SetInterconnectHost(const std::string& host) = 0;
};

// The path choice of CConnectionManager::Connect; returns 1 connected, 0 failed.
bool ChooseConnectPath(ConnectHost& h, const std::string& host, int port, bool interactive);

// The speed tables: records {value, sequence} with a maximum count.
struct SpeedRecord {
  uint32_t value;
  uint32_t sequence;
};
void AddSpeedRecord(std::vector<SpeedRecord>& table, int maxCount, long value);

}  // namespace connmgr
