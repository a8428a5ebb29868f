// What the program does not have yet: the avatars at the seats. Every call writes one line
// to the game log ("not built yet: ...") so that a run shows what it missed; nothing else
// happens.
#pragma once
#include <afxwin.h>

#include "DocHost.h"

class CNotYetBuilt {
 public:
  // The table view's site.
  void PostToAvatar(int position, UINT message, WPARAM wParam);

  // How many calls were logged (a test's count).
  int GetCount() const { return m_nCount; }

 private:
  void Missing(const char* what, const char* call);
  int m_nCount = 0;
};

// The program's one instance.
CNotYetBuilt& NotYetBuilt();
