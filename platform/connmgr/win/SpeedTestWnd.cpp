#include "SpeedTestWnd.h"

#include <process.h>

namespace {
const char kClassName[] = "VeskSpeedTestWnd";

// Registered once per process, whichever worker starts first.
bool RegisterSpeedTestClass(HINSTANCE hInst, WNDPROC proc) {
  static const bool registered = [&] {
    WNDCLASSEXA wc = {sizeof wc};
    wc.lpfnWndProc = proc;
    wc.hInstance = hInst;
    wc.lpszClassName = kClassName;
    return ::RegisterClassExA(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}
}  // namespace

// Stopping as the portable sequence asks it, over this window's thread.
class CSpeedTestWnd::Stopper : public connmgr::SpeedWorkerStop {
 public:
  explicit Stopper(CSpeedTestWnd& w) : m_w(w) {}
  bool Running() override { return m_w.m_hThread != nullptr; }
  void Signal() override {
    m_w.m_nCancel = 1;
    ::SetEvent(m_w.m_hStop);
  }
  bool WaitEnded(unsigned ms) override { return ::WaitForSingleObject(m_w.m_hThread, ms) == WAIT_OBJECT_0; }
  bool Terminate() override {
    if (!::TerminateThread(m_w.m_hThread, 1)) return false;
    // The end is asynchronous: the thread and its windows are gone once its handle signals.
    ::WaitForSingleObject(m_w.m_hThread, INFINITE);
    return true;
  }
  void Log(const char* line) override {
    if (m_w.m_pProber) m_w.m_pProber->LogLine(line);
  }
  void Release() override {
    // The worker destroys its window on its way out; a thread ended by force loses its
    // windows with it. Only the owning thread can destroy a window.
    ::CloseHandle(m_w.m_hThread);
    m_w.m_hThread = nullptr;
    m_w.m_dwThreadId = 0;
    m_w.m_hWnd = nullptr;
  }

 private:
  CSpeedTestWnd& m_w;
};

CSpeedTestWnd::CSpeedTestWnd() {
  m_hStop = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  m_hReady = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

CSpeedTestWnd::~CSpeedTestWnd() {
  Stop();
  if (m_hStop) ::CloseHandle(m_hStop);
  if (m_hReady) ::CloseHandle(m_hReady);
}

BOOL CSpeedTestWnd::Start(Prober* pProber) {
  if (m_hThread || !pProber || !m_hStop || !m_hReady) return FALSE;
  m_pProber = pProber;
  m_nCancel = 0;
  m_bProbing = false;
  m_hWnd = nullptr;
  ::ResetEvent(m_hStop);
  ::ResetEvent(m_hReady);
  unsigned id = 0;
  uintptr_t h = _beginthreadex(nullptr, 0, &CSpeedTestWnd::ThreadMain, this, 0, &id);
  if (!h) return FALSE;
  m_hThread = reinterpret_cast<HANDLE>(h);
  m_dwThreadId = id;
  HANDLE waits[2] = {m_hReady, m_hThread};
  ::WaitForMultipleObjects(2, waits, FALSE, INFINITE);
  if (!m_hWnd) {
    Stop();
    return FALSE;
  }
  return TRUE;
}

connmgr::SpeedStopOutcome CSpeedTestWnd::Stop() {
  if (m_hThread && ::GetCurrentThreadId() == m_dwThreadId) {
    // Asked from inside a probe: the worker ends once its handler returns.
    m_nCancel = 1;
    ::SetEvent(m_hStop);
    return connmgr::SpeedStopOutcome::kEnded;
  }
  Stopper s(*this);
  return connmgr::StopSpeedWorker(s);
}

unsigned __stdcall CSpeedTestWnd::ThreadMain(void* pThis) {
  auto* self = static_cast<CSpeedTestWnd*>(pThis);
  HINSTANCE hInst = ::GetModuleHandleA(nullptr);
  HWND hWnd = nullptr;
  if (RegisterSpeedTestClass(hInst, &CSpeedTestWnd::WndProc))
    hWnd = ::CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, hInst, self);
  self->m_hWnd = hWnd;
  ::SetEvent(self->m_hReady);
  if (!hWnd) return 1;
  self->RunLoop();
  ::DestroyWindow(hWnd);
  return 0;
}

void CSpeedTestWnd::RunLoop() {
  for (;;) {
    DWORD r = ::MsgWaitForMultipleObjects(1, &m_hStop, FALSE, INFINITE, QS_ALLINPUT);
    if (r != WAIT_OBJECT_0 + 1) return;  // the stop event, or a wait that failed
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return;
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
}

LRESULT CALLBACK CSpeedTestWnd::WndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  if (nMsg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
    ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<CSpeedTestWnd*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
  if (self && nMsg == connmgr::kSpeedTestMessage)
    return self->OnSpeedTest(reinterpret_cast<connmgr::SpeedProbeRecord*>(wParam), lParam);
  return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

LRESULT CSpeedTestWnd::OnSpeedTest(connmgr::SpeedProbeRecord* pRecord, LPARAM nPath) {
  if (!pRecord) return -1;
  // One probe at a time; none once a stop was asked.
  if (m_bProbing || m_nCancel) {
    pRecord->result = -1;
    return -1;
  }
  m_bProbing = true;
  long v = m_pProber->ProbeSpeed(nPath != connmgr::kSpeedDirect, pRecord->value);
  m_bProbing = false;
  pRecord->result = int32_t(v);
  return v;
}
