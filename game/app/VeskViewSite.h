// What the table view asks of the program: the connection's option flags and keep-alive,
// questions, the score board, the screenshot and web addresses.
#pragma once
#include <memory>

#include "GameView.h"
#include "TickerDlg.h"

class CTickerDlg;

class CVeskViewSite : public CGameViewSite {
 public:
  CVeskViewSite();
  ~CVeskViewSite() override;
  uint32_t OptionFlags() override;
  bool GameProgressArrived() override;
  int IdleSeconds() override;
  void SendKeepAlive() override;
  bool AskYesNo(const char* text, UINT style) override;
  void ToggleScoreBoard() override;
  std::string SaveScreenshot() override;
  void ChatNotice(const std::string& text, COLORREF color, int size) override;
  std::string NickNameOf(const char* userName) override;
  void PlayWave(int id) override;
  void OpenUrl(const std::string& url) override;
  void OpenSettings() override;
  void TickerText(const std::string& text) override;
  void PlaceTicker(CWnd* pParent, const RECT& rect) override;
  int SeatTier(int position) override;
  void HoldMessages(bool hold) override;
  CWnd* MainWindow() override { return AfxGetMainWnd(); }

  // The ticker strip the view placed; destroyed before the view goes.
  void DestroyTicker();

 private:
  std::string ChatListNickName(const char* userName);
  std::unique_ptr<CTickerDlg> m_pTicker;
};
