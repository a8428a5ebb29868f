// What the program does not have yet: the chat view and the panel, the net skin's place,
// the avatars, the advertisements and the emotions. Every call writes one line to the game
// log ("not built yet: ...") so that a run shows what it missed; nothing else happens.
#pragma once
#include <afxwin.h>

#include "DocHost.h"

class CNotYetBuilt : public CDocChatPanel {
 public:
  // CDocChatPanel
  void RefreshChatLists() override;
  void PanelReload() override;
  void ShowAdRecord(const uint8_t* frame) override;
  void HandleNetSkinData(const std::string& text) override;

  // The table view's site and the socket.
  void PostToAvatar(int position, UINT message, WPARAM wParam);

  // How many calls were logged (a test's count).
  int GetCount() const { return m_nCount; }

 private:
  void Missing(const char* what, const char* call);
  int m_nCount = 0;
};

// The program's one instance.
CNotYetBuilt& NotYetBuilt();
