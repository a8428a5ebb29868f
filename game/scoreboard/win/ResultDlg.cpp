#include "ResultDlg.h"

#include <afxpriv.h>

#include "ScoreRows.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CResultDlg, CSkinDialog)
  ON_WM_DESTROY()
  ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

namespace {
const char kSettings[] = "Settings";
const int kUnset = 0x7FFF;
}  // namespace

CResultDlg::CResultDlg() : CSkinDialog(IDD_RESULT) {
  SetSkinName("Result");
  CWinApp* app = AfxGetApp();
  m_nSavedX = app ? app->GetProfileInt(kSettings, "ResultDlg-X", kUnset) : kUnset;
  m_nSavedY = app ? app->GetProfileInt(kSettings, "ResultDlg-Y", kUnset) : kUnset;
}

void CResultDlg::SetSeats(const std::string* names, int count, int playerCount) {
  m_nSeatCount = count < 0 ? 0 : count > 4 ? 4 : count;
  for (int i = 0; i < m_nSeatCount; ++i) m_names[i] = names[i];
  m_nPlayerCount = playerCount;
}

BOOL CResultDlg::CreateHidden(CWnd* pParent) {
  if (!Create(IDD_RESULT, pParent)) {
    // Without its skin the board still keeps the scores: a plain dialog then.
    m_szSection[0] = '\0';
    if (!Create(IDD_RESULT, pParent)) return FALSE;
  }
  ShowWindow(SW_HIDE);
  return TRUE;
}

BOOL CResultDlg::OnInitDialog() {
  CSkinDialog::OnInitDialog();
  PlaceDialog();
  CRect rc;
  GetSkinClientRect(&rc);
  rc.DeflateRect(15, 30, 15, 50);
  if (m_list.Create(rc, this, IDC_RESULTLIST)) {
    m_list.EnableHeaderDragDrop(FALSE);
    m_list.ModifyListStyle(0, 128);
    CreateColumns();
  }
  m_btnOK.LoadSkin(this, IDOK, GetSkinSection(), "IDOK");
  PlaceOkButton(rc);
  return TRUE;
}

// The button sits centred in the band the list leaves at the bottom.
void CResultDlg::PlaceOkButton(const CRect& listRect) {
  CWnd* ok = GetDlgItem(IDOK);
  if (!ok) return;
  CRect b;
  ok->GetWindowRect(&b);
  const int x = listRect.CenterPoint().x - b.Width() / 2;
  const int y = listRect.bottom + (50 - b.Height()) / 2;
  ok->SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CResultDlg::PlaceDialog() {
  if (m_nSavedX == kUnset || m_nSavedY == kUnset) return;
  SetWindowPos(nullptr, m_nSavedX, m_nSavedY, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  m_bPlaced = TRUE;
}

// Without a saved place the board first appears centred over the table's frame; the frame
// has its final size only once the table is up, so this waits for the first showing.
void CResultDlg::CentreOverOwner() {
  if (m_bPlaced) return;
  m_bPlaced = TRUE;
  CWnd* owner = GetParent();
  if (!owner) owner = AfxGetMainWnd();
  if (owner && owner != this) CenterWindow(owner);
}

void CResultDlg::CreateColumns() {
  CString title;
  title.LoadString(IDS_HANDCOLUMN);
  const int width = m_nPlayerCount == 4 ? 76 : 95;
  m_list.InsertColumn(0, title, width);
  int column = 1;
  for (int position : scoreboard::SeatColumnOrder(m_nPlayerCount)) {
    const char* name = position < m_nSeatCount ? m_names[position].c_str() : "";
    m_list.InsertColumn(column++, name, width);
  }
}

CString CResultDlg::Title(UINT nID, int64_t first, int64_t second) {
  CString format;
  format.LoadString(nID);
  return scoreboard::FormatRowTitle((LPCSTR)format, first, second).c_str();
}

void CResultDlg::AddRow(const CString& title, const int* values, int count) {
  if (!m_list.GetSafeHwnd()) return;
  const int row = m_list.InsertItem(m_list.GetItemCount(), title);
  if (row < 0 || !values) return;
  int column = 1;
  for (int position : scoreboard::SeatColumnOrder(m_nPlayerCount)) {
    if (position < count) m_list.SetItemText(row, column, scoreboard::FormatScore(values[position]).c_str());
    ++column;
  }
}

void CResultDlg::AddSeriesRow(uint32_t seriesValue) {
  AddRow(Title(IDS_SERIESROW, scoreboard::OneBased(seriesValue)), nullptr, 0);
}

void CResultDlg::AddHandRow(uint32_t hand, const int* values, int count) {
  AddRow(Title(IDS_HANDROW, scoreboard::OneBased(hand)), values, count);
}

void CResultDlg::AddRangeRow(uint32_t hand, const int* values, int count) {
  AddRow(Title(IDS_RANGEROW, 1, scoreboard::OneBased(hand)), values, count);
}

void CResultDlg::AddTotalRow(const int* values, int count) {
  CString title;
  title.LoadString(IDS_TOTALROW);
  AddRow(title, values, count);
  m_bTotalRow = TRUE;
}

void CResultDlg::AddFinalRow(const int* values, int count) {
  CString title;
  title.LoadString(IDS_FINALROW);
  AddRow(title, values, count);
}

void CResultDlg::RemoveTotalRow() {
  if (!m_bTotalRow) return;
  if (m_list.GetItemCount() > 1) m_list.DeleteItem(m_list.GetItemCount() - 1);
  m_bTotalRow = FALSE;
}

void CResultDlg::ShowScoreBoard(bool scrollToEnd) {
  if (!GetSafeHwnd()) return;
  ShowWindow(SW_SHOWNOACTIVATE);
  if (scrollToEnd && m_list.GetItemCount() > 0) m_list.EnsureVisible(m_list.GetItemCount() - 1, FALSE);
}

void CResultDlg::ToggleScoreBoard() {
  if (!GetSafeHwnd()) return;
  if (IsWindowVisible())
    AfxHideTopLevel(m_hWnd);
  else
    ShowScoreBoard(true);
}

// Every way of showing the board (end of a hand, the score button) passes here.
void CResultDlg::OnShowWindow(BOOL bShow, UINT nStatus) {
  if (bShow) CentreOverOwner();
  CSkinDialog::OnShowWindow(bShow, nStatus);
}

// A modeless board hides instead of ending.
void CResultDlg::OnOK() { AfxHideTopLevel(GetSafeHwnd()); }
void CResultDlg::OnCancel() { AfxHideTopLevel(GetSafeHwnd()); }

void CResultDlg::OnDestroy() {
  CRect rc;
  GetWindowRect(&rc);
  if (CWinApp* app = AfxGetApp()) {
    app->WriteProfileInt(kSettings, "ResultDlg-X", rc.left);
    app->WriteProfileInt(kSettings, "ResultDlg-Y", rc.top);
  }
  CSkinDialog::OnDestroy();
}
