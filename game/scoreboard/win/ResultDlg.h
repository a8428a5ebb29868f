// CResultDlg: the modeless score board. It answers the document's score-row hooks: a row
// per hand with each seat's score change, the series' title, range, total and final rows.
#pragma once
#include <afxwin.h>

#include <string>

#include "CoolButton.h"
#include "DocHost.h"
#include "QKResultListCtrl.h"
#include "SkinDialog.h"

class CResultDlg : public CSkinDialog, public CDocScoreBoard {
 public:
  CResultDlg();

  // Column titles: the user names by view position, and how many seats play.
  void SetSeats(const std::string* names, int count, int playerCount);
  BOOL CreateHidden(CWnd* pParent);

  // CDocScoreBoard
  void AddSeriesRow(uint32_t seriesValue) override;
  void AddHandRow(uint32_t hand, const int* values, int count) override;
  void AddRangeRow(uint32_t hand, const int* values, int count) override;
  void RemoveTotalRow() override;
  void AddTotalRow(const int* values, int count) override;
  void AddFinalRow(const int* values, int count) override;
  void ShowScoreBoard(bool scrollToEnd) override;
  // The score button: a hidden board comes up at its last row, a shown one goes.
  void ToggleScoreBoard();

  CQKResultListCtrl& GetList() { return m_list; }
  BOOL HasTotalRow() const { return m_bTotalRow; }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  afx_msg void OnDestroy();
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  DECLARE_MESSAGE_MAP()

  void AddRow(const CString& title, const int* values, int count);
  void CreateColumns();
  void PlaceDialog();
  void CentreOverOwner();
  void PlaceOkButton(const CRect& listRect);
  static CString Title(UINT nID, int64_t first, int64_t second = 0);

  std::string m_names[4];
  int m_nSeatCount = 0;
  int m_nPlayerCount = 3;
  int m_nSavedX, m_nSavedY;
  CQKResultListCtrl m_list;
  CCoolButton m_btnOK;
  BOOL m_bTotalRow = FALSE;
  BOOL m_bPlaced = FALSE;  // at its saved place, centred once, or moved by the player
};
