// CODIconMenu: turns the items of an ordinary menu into owner-drawn items (records with the
// caption as wide text) and answers menu mnemonics for them.
#pragma once
#include <afxwin.h>

#include <string>
#include <vector>

struct OD_ICONMENU_ITEM {
  std::wstring caption;
  int reserved1 = -1, reserved2 = -1;
  int reserved3 = 0;
  int reserved4 = -1;
  UINT flags = 0;
  UINT id = 0;
  BOOL used = FALSE;
  CObject* owned = nullptr;
  int reserved5 = 0;
};

class CODIconMenu : public CMenu {
 public:
  CODIconMenu();
  ~CODIconMenu() override;

  BOOL Attach(HMENU hMenu);
  // Converts every item of the menu (and its sub-menus' positions) to owner-drawn ones.
  void ConvertItems();
  // The menu and position of the first item with the id, searched depth first.
  BOOL FindItem(UINT nID, HMENU* phMenu, int* pnPos) const;
  CString GetCaption(UINT nIDOrPos, UINT nFlags) const;
  // 0x20000 | position for the first item whose caption holds "&" + the character; else 0.
  LRESULT MenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
  void MeasureItem(LPMEASUREITEMSTRUCT lpMIS);
  void DrawItem(LPDRAWITEMSTRUCT lpDIS);
  // Whether a menu handle belongs to an icon menu.
  static BOOL IsIconMenu(HMENU hMenu);
  static int GetSystemKind();

 protected:
  void ConvertMenu(HMENU hMenu, std::vector<OD_ICONMENU_ITEM*>& out);
  OD_ICONMENU_ITEM* TakeRecord(UINT nID);

  std::vector<OD_ICONMENU_ITEM*> m_items;
  int m_nConverted;
};
