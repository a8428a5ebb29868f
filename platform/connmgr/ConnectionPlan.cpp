#include "ConnectionPlan.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "ConnLogTexts.h"

namespace connmgr {

std::string ScrambleName(const std::string& name, bool scramble) {
  if (!scramble) return name;
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(name.size() * 2);
  for (unsigned char c : name) {
    unsigned char x = c ^ kScrambleKey;
    out += kHex[x >> 4];
    out += kHex[x & 15];
  }
  return out;
}

std::optional<std::string> UnscrambleName(const std::string& text) {
  if (text.size() % 2) return std::nullopt;
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  std::string out;
  for (size_t i = 0; i < text.size(); i += 2) {
    int hi = digit(text[i]), lo = digit(text[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    out += static_cast<char>(((hi << 4) | lo) ^ kScrambleKey);
  }
  return out;
}

std::optional<std::string> EntryHostForPort(const std::string& entry, int port) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t semi = entry.find(';', start);
    parts.push_back(entry.substr(start, semi == std::string::npos ? std::string::npos : semi - start));
    if (semi == std::string::npos) break;
    start = semi + 1;
  }
  if (parts.empty() || parts[0].empty()) return std::nullopt;
  for (size_t i = 1; i < parts.size(); ++i) {
    if (parts[i].empty()) continue;
    char* end = nullptr;
    long p = std::strtol(parts[i].c_str(), &end, 10);
    if (end && *end == '\0' && p == port) return parts[0];
  }
  return std::nullopt;
}

std::optional<std::string> FindInterconnectHost(
    const std::function<std::optional<std::string>(const std::string&)>& lookup, int port) {
  for (int n = 1; n <= 499; ++n) {
    auto entry = lookup(std::to_string(n));
    if (!entry) break;
    if (auto host = EntryHostForPort(*entry, port)) return host;
  }
  return std::nullopt;
}

std::string FormatLogLine(const std::string& timeText, int pid, const std::string& message) {
  char head[64];
  std::snprintf(head, sizeof head, " %5d ", pid);
  return timeText + head + message + "\n";
}

std::string LogText(const char* fmt, ...) {
  char buf[1024];
  va_list ap;
  va_start(ap, fmt);
  std::vsnprintf(buf, sizeof buf, fmt, ap);
  va_end(ap);
  return buf;
}

bool ChooseConnectPath(ConnectHost& h, const std::string& host, int port, bool interactive) {
  const char* hs = host.c_str();
  h.Log(LogText(kLogClientConnect, hs, port));
  if (h.OtherProxy()) {
    h.Log(kLogOtherProxy);
    return h.ConnectDirect(host, port, interactive);
  }
  h.Log(kLogNoOtherProxy);
  if (h.Use80PortSvr()) {
    h.Log(LogText(kLogFirewall, port));
    auto proxy = h.FirewallProxyHost();
    if (!proxy || proxy->empty()) {
      h.Log(kLogFirewallNoIp);
      return h.ConnectDirect(host, port, interactive);
    }
    h.Log(LogText(kLogFoundProxyIp, proxy->c_str()));
    h.SetInterconnectHost(*proxy);
    if (port == 80) {
      h.Log(kLogFirewallPort80);
      return h.ConnectViaProxy(host, port, interactive, false);
    }
    h.Log(LogText(kLogFirewallP80, port));
    return h.ConnectViaProxy(host, port, interactive, true);
  }
  h.Log(kLogNoFirewall);
  if (h.UseInterconnect() == 0) {
    h.Log(kLogManualOff);
    return h.ConnectDirect(host, port, interactive);
  }
  h.Log(kLogNotManualOff);
  auto proxy = h.InterconnectHostForPort(port);
  if (!proxy) {
    h.Log(LogText(kLogGameNotConfigured, hs, port));
    return h.ConnectDirect(host, port, interactive);
  }
  h.Log(kLogGameConfigured);
  h.SetInterconnectHost(*proxy);
  if (h.ServerMarkedForInterconnect(host, port)) {
    h.Log(kLogServerUsesProxy);
    return h.ConnectViaProxy(host, port, interactive, true);
  }
  h.Log(LogText(kLogServerNotSupported, hs, port));
  // A quiet direct try first; the proxy only when that fails on its own.
  if (h.ConnectDirect(host, port, false)) return true;
  if (h.Cancelled()) {
    h.Log(LogText(kLogDirectCancelled, hs, port));
    return false;
  }
  h.Log(LogText(kLogDirectFailedRetry, hs, port));
  h.ClearOutsideCancel();
  return h.ConnectViaProxy(host, port, interactive, true);
}

void AddSpeedRecord(std::vector<SpeedRecord>& table, int maxCount, long value) {
  if (value < 0 || maxCount <= 0) return;
  uint32_t next = 0;
  for (const auto& r : table)
    if (r.sequence + 1 > next) next = r.sequence + 1;
  SpeedRecord rec{static_cast<uint32_t>(value), next};
  if (static_cast<int>(table.size()) < maxCount) {
    table.push_back(rec);
    return;
  }
  size_t oldest = 0;
  for (size_t i = 1; i < table.size(); ++i)
    if (table[i].sequence < table[oldest].sequence) oldest = i;
  table[oldest] = rec;
}

}  // namespace connmgr
