// What the connection host does whatever stands behind it: the busy state and the main window.
#include "TableConnection.h"

#include <afxwin.h>

#include "LobbyLinks.h"
#include "Program.h"

void CTableConnection::BeginSend() { ++m_nSending; }

void CTableConnection::EndSend() {
  if (m_nSending > 0) --m_nSending;
}

void CTableConnection::HoldInput() { m_bInputHeld = true; }
void CTableConnection::ReleaseInput() { m_bInputHeld = false; }
bool CTableConnection::IsBusy() { return m_nSending > 0 || m_bInputHeld; }

void CTableConnection::PostCloseMainWindow() {
  if (CWnd* pMain = AfxGetMainWnd()) pMain->PostMessage(WM_CLOSE, 0, 0);
}

bool CTableConnection::IsMainWindowVisible() {
  CWnd* pMain = AfxGetMainWnd();
  return pMain && ::IsMainWindowVisible(pMain->GetSafeHwnd());
}

bool CTableConnection::IsMainWindowActive() {
  CWnd* pMain = AfxGetMainWnd();
  return pMain && ::GetActiveWindow() == pMain->GetSafeHwnd();
}

bool CTableConnection::IsMainWindowMinimised() {
  CWnd* pMain = AfxGetMainWnd();
  return pMain && ::IsIconic(pMain->GetSafeHwnd());
}

void CTableConnection::FlashMainWindow(int count, int ms) {
  CWnd* pMain = AfxGetMainWnd();
  if (!pMain) return;
  FLASHWINFO fi = {sizeof fi, pMain->GetSafeHwnd(), FLASHW_ALL, (UINT)count, (DWORD)ms};
  ::FlashWindowEx(&fi);
}

void CTableConnection::ShowMainWindow() { Program().ShowMainWindow(); }

void CTableConnection::DetachDocument() {
  AttachDocument(nullptr);
  Program().AdoptDocument(nullptr);
}
