// The document's chat and panel concern, served by the chat view while it exists, and what
// the chat view asks of the program.
#pragma once
#include <afxwin.h>

#include "ChatView.h"
#include "DocHost.h"
#include "Program.h"

class CChatSite : public CDocChatPanel, public CChatViewSite {
 public:
  // CDocChatPanel
  void RefreshChatLists() override;
  void PanelReload() override;
  void ShowAdRecord(const uint8_t* frame) override;
  void HandleNetSkinData(const std::string& text) override;
  // CChatViewSite
  void RegisterChatView(CChatView* pView) override { m_pView = pView; }
  std::string GetPanelTemplate() override;
  std::string GetWatchedName() override;
  BOOL IsWatching() override;
  long GetChatLoginValue() override { return Program().ChatLoginValue(); }
  void WriteConnectionLog(const char* text) override;
  BOOL GetSeat(int i, std::string* pName, int* pSeriesChange) override;

  // A system line (a player cut and back, trusteeship) in colour in the chat; the game log
  // keeps it as well.
  void SystemLine(const char* line);
  // A line for the player in its own colour (COLORREF) and size; the game log keeps it too.
  void Notice(const char* line, COLORREF color, int size);
  CChatView* GetView() const { return m_pView; }

 private:
  CChatView* m_pView = nullptr;
};

CChatSite& ChatSite();
