#include "EmotionWnd.h"

#include <cstdio>

#include "ChatSetup.h"
#include "QKCtrls.h"

BEGIN_MESSAGE_MAP(CEmotionWnd, CWnd)
  ON_WM_SIZE()
END_MESSAGE_MAP()

CEmotionWnd::~CEmotionWnd() {
  if (m_pChat) {
    if (m_pChat->GetSafeHwnd()) m_pChat->DestroyWindow();
    delete m_pChat;
  }
}

CQKChatEx* CEmotionWnd::Create(int mode, CWnd* pParent) {
  LPCSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW));
  if (!CWnd::CreateEx(0, cls, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), pParent, ID_EMOTION_WND))
    return nullptr;
  if (!m_pChat) m_pChat = new CQKChatEx;
  if (!m_pChat->Create(nullptr, "", WS_VISIBLE, CRect(0, 0, 0, 0), this, ID_EMOTION_CTRL)) return nullptr;
  if (mode == 1)
    m_pChat->Invoke54();
  else if (mode == 2)
    m_pChat->Invoke53();
  else
    return nullptr;
  return m_pChat;
}

void CEmotionWnd::ShowEmotion(LPCSTR name, UINT idA, UINT idB, LPCSTR watched, long loginValue) {
  if (!m_pChat || !m_pChat->GetSafeHwnd()) return;
  SetupChatControl(m_pChat, idA, idB, watched, loginValue);
  if (!name) return;
  char folder[MAX_PATH] = "";
  DWORD n = ::GetModuleFileNameA(nullptr, folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  if (char* slash = strrchr(folder, '\\')) *slash = 0;
  char file[MAX_PATH * 2];
  std::snprintf(file, sizeof file, "%s\\%s.emt", folder, name);
  m_pChat->Invoke51(file, nullptr);
}

BOOL CEmotionWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == ID_EMOTION_NOTIFY) {
    // Posted, so the parent reads the list after the control has finished changing it.
    if (CWnd* pParent = GetParent()) pParent->PostMessage(WM_COMMAND, (WPARAM)(INT_PTR)-100, 0);
    return TRUE;
  }
  return CWnd::OnCommand(wParam, lParam);
}

void CEmotionWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  if (m_pChat && m_pChat->GetSafeHwnd()) m_pChat->MoveWindow(0, 0, cx, cy);
}
