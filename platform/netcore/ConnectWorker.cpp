#include "ConnectWorker.h"

#include <system_error>

namespace netcore {

bool CConnectWorker::Start(Body body, std::function<void()> unblock) {
  if (m_thread.joinable()) return false;
  m_cancel = false;
  m_error = 0;
  m_state = kConnecting;
  m_unblock = std::move(unblock);
  try {
    m_thread = std::thread([this, body = std::move(body)] {
      int error = 0;
      bool ok = false;
      try {
        ok = body(m_cancel, &error);
      } catch (...) {
        error = -1;
      }
      m_error = error;
      m_state = ok && !m_cancel ? kConnected : kFailed;
    });
  } catch (const std::system_error&) {
    m_state = kFailed;
    return false;
  }
  return true;
}

void CConnectWorker::Cancel() {
  if (!m_thread.joinable()) return;
  m_cancel = true;
  if (m_unblock) m_unblock();
}

void CConnectWorker::Join() {
  if (m_thread.joinable()) m_thread.join();
}

}  // namespace netcore
