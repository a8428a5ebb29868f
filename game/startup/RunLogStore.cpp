#include "RunLogStore.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <utility>

namespace {

bool ReadFile(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  text = s.str();
  return true;
}

bool WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out << text;
  return static_cast<bool>(out.flush());
}

}  // namespace

CRunLogStore::CRunLogStore(std::string folder, std::string userName, std::string startTime, bool switchOn, SendFn send)
    : m_strFolder(std::move(folder)),
      m_strUser(std::move(userName)),
      m_strStartTime(std::move(startTime)),
      m_bOn(switchOn),
      m_send(std::move(send)) {}

std::string CRunLogStore::Join(const std::string& name) const {
  if (m_strFolder.empty()) return name;
  char last = m_strFolder.back();
  if (last == '/' || last == '\\') return m_strFolder + name;
  char sep = m_strFolder.find('\\') != std::string::npos ? '\\' : '/';
  return m_strFolder + sep + name;
}

std::string CRunLogStore::RunFilePath() const { return Join(RunLogFileName(m_strUser)); }
std::string CRunLogStore::PendingFilePath() const { return Join(PendingLogFileName(m_strUser)); }

bool CRunLogStore::WriteRunLogStart() {
  if (!m_bOn) return false;
  return WriteFile(RunFilePath(), FormatRunLogStart(m_strStartTime, m_strUser));
}

bool CRunLogStore::SetRunLogField(const std::string& key, const std::string& value) {
  if (!m_bOn) return false;
  std::string text;
  if (!ReadFile(RunFilePath(), text)) return false;
  return WriteFile(RunFilePath(), SetRunLogFieldInText(text, key, value));
}

bool CRunLogStore::ReadRunLog(RUN_LOG& log) const {
  if (!m_bOn) return false;
  std::string text;
  if (!ReadFile(RunFilePath(), text)) return false;
  ParseRunLog(text, log);
  return true;
}

bool CRunLogStore::CheckPreviousRun() {
  if (!m_bOn) return false;
  RUN_LOG previous;
  if (ReadRunLog(previous)) {
    PREVIOUS_RUN_REPORT r = DecidePreviousRun(previous);
    SendOrQueue(REMOTE_LOG_LINE{r.nLevel, "game run", r.strDescription, r.strReason});
  }
  std::string pending;
  if (!ReadFile(PendingFilePath(), pending)) return false;
  std::string keep = ReplayRemoteLog(pending, [this](const REMOTE_LOG_LINE& l) { return m_send && m_send(l); });
  if (keep.empty())
    std::remove(PendingFilePath().c_str());
  else
    WriteFile(PendingFilePath(), keep);
  return true;
}

void CRunLogStore::QueueRemoteLog(const REMOTE_LOG_LINE& line) {
  if (!m_bOn) return;
  std::ofstream out(PendingFilePath(), std::ios::binary | std::ios::app);
  if (out) out << FormatRemoteLogLine(line);
}

bool CRunLogStore::SendOrQueue(const REMOTE_LOG_LINE& line) {
  if (!m_bOn) return false;
  if (m_send && m_send(line)) return true;
  QueueRemoteLog(line);
  return false;
}

void CRunLogStore::ClearRunLog() {
  if (!m_bOn) return;
  RUN_LOG log;
  if (ReadRunLog(log) && RunLogBelongsTo(log, m_strStartTime)) std::remove(RunFilePath().c_str());
}
