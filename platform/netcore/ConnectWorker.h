// The blocking part of a connect runs on a worker thread while the UI thread keeps pumping.
// The worker is never killed: giving up sets the cancel flag (and runs the unblock hook, which
// closes the socket the worker is blocked in) and then joins it. State and error are atomic
// because both threads read them.
#pragma once
#include <atomic>
#include <functional>
#include <thread>

namespace netcore {

class CConnectWorker {
 public:
  enum State { kFailed = 0, kConnecting = 1, kConnected = 2 };
  // The worker's body: true when connected, else false with *error set. It must return soon
  // after `cancel` becomes true (a connect that polls, or one the unblock hook interrupts).
  using Body = std::function<bool(const std::atomic<bool>& cancel, int* error)>;

  CConnectWorker() = default;
  CConnectWorker(const CConnectWorker&) = delete;
  CConnectWorker& operator=(const CConnectWorker&) = delete;
  ~CConnectWorker() {
    Cancel();
    Join();
  }

  // False when a worker is still running or the thread cannot be created.
  bool Start(Body body, std::function<void()> unblock = nullptr);
  State GetState() const { return State(m_state.load()); }
  int Error() const { return m_error.load(); }
  void Cancel();
  void Join();
  bool Running() const { return m_thread.joinable(); }

 private:
  std::thread m_thread;
  std::function<void()> m_unblock;
  std::atomic<bool> m_cancel{false};
  std::atomic<int> m_state{kFailed};
  std::atomic<int> m_error{0};
};

}  // namespace netcore
