// The advertisement dispatch: a MSG_AD_RECORD frame shown by every advertisement control
// whose position matches, and the small window that holds one control on the table.
#pragma once
#include <afxwin.h>

#include <cstdint>

#include "QKCtrls.h"

// Shows the record (the whole frame, SIZE bytes) on the control; every failure is swallowed.
void ShowAdvert(const uint8_t* record, size_t size, LPCSTR text1, LPCSTR text2, CQKAdCtrl* pCtrl);
// ShowAdvert on each of the COUNT controls whose position id is the record's position.
// 0 after going through them; COUNT itself when it is 0 or less; 0 without a record.
int NotifyAdControls(const uint8_t* record, size_t size, LPCSTR text1, LPCSTR text2, int count,
                     CQKAdCtrl* const* controls);

class CAdHostWnd : public CWnd {
 public:
  BOOL Create(CWnd* pParent, const RECT& rect, UINT nID);
  CQKAdCtrl m_AdCtrl;
  CString m_strText;

 protected:
  afx_msg void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()
};
