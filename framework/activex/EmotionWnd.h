// A child window that holds one chat control filling it: the table chat (mode 1) or the
// player of emotion files (mode 2). It relays the control's list-changed command to its parent.
#pragma once
#include <afxwin.h>

class CQKChatEx;

const int ID_EMOTION_WND = 29740;
const int ID_EMOTION_CTRL = 29741;
const WORD ID_EMOTION_NOTIFY = 0xFF9C;  // command -100

class CEmotionWnd : public CWnd {
 public:
  CEmotionWnd() = default;
  ~CEmotionWnd() override;

  // The control (0 when a window could not be made or the mode is unknown).
  CQKChatEx* Create(int mode, CWnd* pParent);
  // Sets the chat control up for the table, then plays "<program folder>\<name>.emt".
  void ShowEmotion(LPCSTR name, UINT idA, UINT idB, LPCSTR watched, long loginValue);
  CQKChatEx* GetChat() const { return m_pChat; }

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  afx_msg void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()

 private:
  CQKChatEx* m_pChat = nullptr;
};
