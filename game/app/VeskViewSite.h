// What the table view asks of the program: the busy state of sends, the connection's option
// flags and keep-alive, questions, the score board, the screenshot and web addresses.
#pragma once
#include <memory>

#include "GameView.h"

class CTickerDlg;

class CVeskViewSite : public CGameViewSite {
 public:
  CVeskViewSite();
  ~CVeskViewSite() override;
  bool IsBusySending() override;
  uint32_t OptionFlags() override;
  bool GameProgressArrived() override;
  int IdleSeconds() override;
  void SendKeepAlive() override;
  bool AskYesNo(const char* text) override;
  void ToggleScoreBoard() override;
  void SaveScreenshot() override;
  void OpenUrl(const std::string& url) override;
  void OpenSettings() override;
  void TickerText(const std::string& text) override;
  void PostToAvatar(int position, UINT message, WPARAM wParam) override;
  void HoldMessages(bool hold) override;

  // The ticker strip on the table view, created with the first line (null without a view).
  CTickerDlg* Ticker();
  void DestroyTicker();

 private:
  std::unique_ptr<CTickerDlg> m_pTicker;
};
