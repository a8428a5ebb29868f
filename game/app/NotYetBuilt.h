// What the program does not have yet: the complaint dialogs, the avatars at the seats, the
// settings dialog and the tip window. Every call writes one line to the game log ("not built
// yet: ...") so that a run shows what it missed; nothing else happens.
#pragma once
#include <afxwin.h>

#include "DocHost.h"

class CNotYetBuilt : public CDocComplaints {
 public:
  // CDocComplaints
  void ComplaintPrompt(const uint8_t* record20, bool declarerWaits) override;
  void ComplaintResult(const uint8_t* record20, bool declarerWaits) override;
  void ComplaintUpdate(const uint8_t* frame, bool declarerWaits) override;

  // The table view's site and the socket.
  void PostToAvatar(int position, UINT message, WPARAM wParam);
  void OpenSettings();
  void ShowTipWindow();

  // How many calls were logged (a test's count).
  int GetCount() const { return m_nCount; }

 private:
  void Missing(const char* what, const char* call);
  int m_nCount = 0;
};

// The program's one instance.
CNotYetBuilt& NotYetBuilt();
