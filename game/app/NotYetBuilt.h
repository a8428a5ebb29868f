// What the program does not have yet: the score board's list, the complaint dialogs, the
// net skin and the avatars. Every call writes one line to the game log ("not built yet:
// ...") so that a run shows what it missed; nothing else happens.
#pragma once
#include <afxwin.h>

#include "DocHost.h"

class CNotYetBuilt : public CDocScoreBoard, public CDocComplaints {
 public:
  // CDocScoreBoard (the dialog is shown, its list is not built)
  void AddSeriesRow(uint32_t seriesValue) override;
  void AddHandRow(int hand, const int* values, int count) override;
  void AddRangeRow(int hand, const int* values, int count) override;
  void RemoveTotalRow() override;
  void AddTotalRow(const int* values, int count) override;
  void AddFinalRow(const int* values, int count) override;
  void ShowScoreBoard(bool scrollToEnd) override;
  // CDocComplaints
  void ComplaintPrompt(const uint8_t* record20, bool declarerWaits) override;
  void ComplaintResult(const uint8_t* record20, bool declarerWaits) override;
  void ComplaintUpdate(const uint8_t* frame, bool declarerWaits) override;
  // The chat site's net-skin part.
  void HandleNetSkinData(const std::string& text);

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
