// The two exports of the resource library: the table-rule dialogs the lobby shows.
#pragma once
#include <windows.h>

#include "ResCore.h"

extern "C" {
// Shows the rule dialog (186). On OK writes "%d %d %d %d %d" into text (at least
// 32 bytes) and returns its length plus 1; 0 when cancelled.
__declspec(dllexport) int GetProperty(char* text);
// Shows the rules of a text read-only in dialog 207; returns 1.
__declspec(dllexport) int ShowProperty(const char* text);
}

// Dialog 186: edits the five rule values.
class CSetRuleDlg {
 public:
  explicit CSetRuleDlg(HWND parent = nullptr) : m_hParent(parent) {}
  INT_PTR DoModal();

  int m_nChatMode = 0;
  BOOL m_bScoreByRounds = FALSE;
  int m_nRounds = 4;
  BOOL m_bRecordScore = TRUE;
  int m_nSeconds = 100;

 private:
  static INT_PTR CALLBACK DlgProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void OnInitDialog(HWND hwnd);
  bool SaveAndValidate(HWND hwnd);
  HWND m_hParent;
};

// Dialog 207: the same five values, shown disabled and without range checks.
class CDefaultRuleDlg {
 public:
  explicit CDefaultRuleDlg(HWND parent = nullptr) : m_hParent(parent) {}
  INT_PTR DoModal();

  int m_nChatMode = -1;
  BOOL m_bScoreByRounds = FALSE;
  int m_nRounds = 0;
  BOOL m_bRecordScore = FALSE;
  int m_nSeconds = 0;

 private:
  static INT_PTR CALLBACK DlgProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND m_hParent;
};

// Runs the DLGINIT data of a dialog template (combo and list items) on the dialog.
bool ExecuteDlgInit(HWND hwnd, HMODULE module, int dialogId);
// The library's own module (set when it is loaded).
HMODULE ResLibraryModule();
