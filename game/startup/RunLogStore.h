// The run file and the pending remote-log file on disk, in the program's folder, named
// from the user name reduced to a safe file name. Every operation does nothing while the
// crash-report switch is off.
#pragma once
#include <functional>
#include <string>

#include "RunLog.h"

class CRunLogStore {
 public:
  // The crash-report library's send: true when the line was taken.
  using SendFn = std::function<bool(const REMOTE_LOG_LINE&)>;

  CRunLogStore(std::string folder, std::string userName, std::string startTime, bool switchOn, SendFn send);

  bool IsOn() const { return m_bOn; }
  std::string RunFilePath() const;
  std::string PendingFilePath() const;

  // "[ZOLT]" and the seven keys for this run; false when the file cannot be created.
  bool WriteRunLogStart();
  // Sets one key of the run file; false when the file is missing or cannot be written.
  bool SetRunLogField(const std::string& key, const std::string& value);
  // False when the run file does not exist.
  bool ReadRunLog(RUN_LOG& log) const;
  // Reports a previous run whose file is still there, then replays the pending lines;
  // lines that are not taken stay queued. False when there is no pending file.
  bool CheckPreviousRun();
  // Appends one line to the pending file.
  void QueueRemoteLog(const REMOTE_LOG_LINE& line);
  // Sends, and queues the line when it is not taken.
  bool SendOrQueue(const REMOTE_LOG_LINE& line);
  // Deletes the run file when it belongs to this run.
  void ClearRunLog();

 private:
  std::string Join(const std::string& name) const;

  std::string m_strFolder;
  std::string m_strUser;
  std::string m_strStartTime;
  bool m_bOn;
  SendFn m_send;
};
