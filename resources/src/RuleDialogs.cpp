#include "RuleDialogs.h"

#include <cstdio>
#include <cstring>

#include "resource.h"

namespace {

HMODULE g_hModule = nullptr;

// "请输入一个介于 %d 和 %d 之间的整数。"
const char kRangePrompt[] =
    "\xC7\xEB\xCA\xE4\xC8\xEB\xD2\xBB\xB8\xF6\xBD\xE9\xD3\xDA %d \xBA\xCD %d "
    "\xD6\xAE\xBC\xE4\xB5\xC4\xD5\xFB\xCA\xFD\xA1\xA3";

int GetItemInt(HWND hwnd, int id, bool* ok) {
  BOOL translated = FALSE;
  int v = (int)GetDlgItemInt(hwnd, id, &translated, TRUE);
  *ok = translated != FALSE;
  return v;
}

// Reports a value out of range the way data exchange does: a box, then the field selected.
void FailRange(HWND hwnd, int id, int lo, int hi) {
  char text[128];
  std::snprintf(text, sizeof text, kRangePrompt, lo, hi);
  MessageBoxA(hwnd, text, nullptr, MB_OK | MB_ICONEXCLAMATION);
  HWND edit = GetDlgItem(hwnd, id);
  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, 0, -1);
}

void ShowRules(HWND hwnd, int chatMode, BOOL byRounds, int rounds, BOOL record, int seconds) {
  SendDlgItemMessageA(hwnd, IDC_CHATMODE, CB_SETCURSEL, (WPARAM)chatMode, 0);
  CheckDlgButton(hwnd, IDC_SCOREBYROUNDS, byRounds ? BST_CHECKED : BST_UNCHECKED);
  SetDlgItemInt(hwnd, IDC_ROUNDS, (UINT)rounds, TRUE);
  CheckDlgButton(hwnd, IDC_RECORDSCORE, record ? BST_CHECKED : BST_UNCHECKED);
  SetDlgItemInt(hwnd, IDC_SECONDS, (UINT)seconds, TRUE);
}

}  // namespace

HMODULE ResLibraryModule() { return g_hModule; }

bool ExecuteDlgInit(HWND hwnd, HMODULE module, int dialogId) {
  HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(dialogId), MAKEINTRESOURCEA(240));
  if (!info) return true;  // no init data is not an error
  HGLOBAL data = LoadResource(module, info);
  const BYTE* p = data ? static_cast<const BYTE*>(LockResource(data)) : nullptr;
  DWORD size = SizeofResource(module, info);
  if (!p) return false;
  const BYTE* end = p + size;
  while (p + 2 <= end) {
    WORD id, msg;
    DWORD len;
    std::memcpy(&id, p, 2);
    if (id == 0) break;
    if (p + 8 > end) return false;
    std::memcpy(&msg, p + 2, 2);
    std::memcpy(&len, p + 4, 4);
    p += 8;
    if (len > (DWORD)(end - p)) return false;
    // Only list items are ours to run (stored in the 16-bit numbering: 0x0403 combo
    // box, 0x0401 list box); stored control states belong to control hosting.
    UINT add = msg == 0x0403 ? CB_ADDSTRING : msg == 0x0401 ? LB_ADDSTRING : 0;
    if (add && len > 0 && p[len - 1] == 0) SendDlgItemMessageA(hwnd, id, add, 0, (LPARAM)p);
    p += len;
  }
  return true;
}

// ---- CSetRuleDlg -------------------------------------------------------------

INT_PTR CSetRuleDlg::DoModal() {
  return DialogBoxParamA(g_hModule, MAKEINTRESOURCEA(IDD_SETRULE), m_hParent, DlgProc, (LPARAM)this);
}

void CSetRuleDlg::OnInitDialog(HWND hwnd) {
  ExecuteDlgInit(hwnd, g_hModule, IDD_SETRULE);
  ShowRules(hwnd, m_nChatMode, m_bScoreByRounds, m_nRounds, m_bRecordScore, m_nSeconds);
  EnableWindow(GetDlgItem(hwnd, IDC_ROUNDS), m_bScoreByRounds);
}

bool CSetRuleDlg::SaveAndValidate(HWND hwnd) {
  int chat = (int)SendDlgItemMessageA(hwnd, IDC_CHATMODE, CB_GETCURSEL, 0, 0);
  BOOL byRounds = IsDlgButtonChecked(hwnd, IDC_SCOREBYROUNDS) == BST_CHECKED;
  bool ok = true;
  int rounds = m_nRounds;
  // Rounds only count when scoring by rounds; the field is disabled otherwise.
  if (byRounds) {
    rounds = GetItemInt(hwnd, IDC_ROUNDS, &ok);
    if (!ok || !RuleRoundsValid(rounds)) {
      FailRange(hwnd, IDC_ROUNDS, 4, 100);
      return false;
    }
  }
  BOOL record = IsDlgButtonChecked(hwnd, IDC_RECORDSCORE) == BST_CHECKED;
  int seconds = GetItemInt(hwnd, IDC_SECONDS, &ok);
  if (!ok || !RuleSecondsValid(seconds)) {
    FailRange(hwnd, IDC_SECONDS, 10, 600);
    return false;
  }
  m_nChatMode = chat < 0 ? 0 : chat;
  m_bScoreByRounds = byRounds;
  m_nRounds = rounds;
  m_bRecordScore = record;
  m_nSeconds = seconds;
  return true;
}

INT_PTR CALLBACK CSetRuleDlg::DlgProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<CSetRuleDlg*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(hwnd, DWLP_USER, lp);
      reinterpret_cast<CSetRuleDlg*>(lp)->OnInitDialog(hwnd);
      return TRUE;
    case WM_COMMAND:
      if (!self) break;
      switch (LOWORD(wp)) {
        case IDOK:
          if (self->SaveAndValidate(hwnd)) EndDialog(hwnd, IDOK);
          return TRUE;
        case IDCANCEL:
          EndDialog(hwnd, IDCANCEL);
          return TRUE;
        case IDC_SCOREBYROUNDS:
          EnableWindow(GetDlgItem(hwnd, IDC_ROUNDS), IsDlgButtonChecked(hwnd, IDC_SCOREBYROUNDS) == BST_CHECKED);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

// ---- CDefaultRuleDlg ---------------------------------------------------------

INT_PTR CDefaultRuleDlg::DoModal() {
  return DialogBoxParamA(g_hModule, MAKEINTRESOURCEA(IDD_DEFAULTRULE), m_hParent, DlgProc, (LPARAM)this);
}

INT_PTR CALLBACK CDefaultRuleDlg::DlgProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(hwnd, DWLP_USER, lp);
      auto* self = reinterpret_cast<CDefaultRuleDlg*>(lp);
      ExecuteDlgInit(hwnd, g_hModule, IDD_DEFAULTRULE);
      ShowRules(hwnd, self->m_nChatMode, self->m_bScoreByRounds, self->m_nRounds, self->m_bRecordScore,
                self->m_nSeconds);
      for (int id : {IDC_CHATMODE, IDC_SCOREBYROUNDS, IDC_ROUNDS, IDC_RECORDSCORE, IDC_SECONDS})
        EnableWindow(GetDlgItem(hwnd, id), FALSE);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
        EndDialog(hwnd, LOWORD(wp));
        return TRUE;
      }
      break;
  }
  return FALSE;
}

// ---- exports -----------------------------------------------------------------

extern "C" int GetProperty(char* text) {
  CSetRuleDlg dlg(GetActiveWindow());
  if (dlg.DoModal() != IDOK) return 0;
  RuleSettings rules;
  rules.scoreByRounds = dlg.m_bScoreByRounds != FALSE;
  rules.rounds = dlg.m_nRounds;
  rules.secondsPerCard = dlg.m_nSeconds;
  rules.recordScore = dlg.m_bRecordScore ? 1 : 0;
  rules.chatMode = dlg.m_nChatMode;
  std::string out = FormatRuleText(rules);
  if (text) std::memcpy(text, out.c_str(), out.size() + 1);  // at most 25 bytes: all values are bounded
  return (int)out.size() + 1;
}

extern "C" int ShowProperty(const char* text) {
  RuleSettings rules = ParseRuleText(text);
  CDefaultRuleDlg dlg(GetActiveWindow());
  dlg.m_bScoreByRounds = rules.scoreByRounds;
  dlg.m_nRounds = rules.rounds;
  dlg.m_nSeconds = rules.secondsPerCard;
  dlg.m_bRecordScore = rules.recordScore;
  dlg.m_nChatMode = rules.chatMode;
  dlg.DoModal();
  return 1;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_hModule = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}
