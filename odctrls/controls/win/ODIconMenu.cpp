#include "ODIconMenu.h"

#include <algorithm>

#include "ODPaint.h"
#include "ODThemeSections.h"

namespace {
std::vector<HMENU>& MenuHandles() {
  static std::vector<HMENU> handles;
  return handles;
}

int ComputeSystemKind() {
  DWORD v = ::GetVersion();
  OSVERSIONINFOA vi = {sizeof(vi)};
  BOOL ok = ::GetVersionExA(&vi);
  if (v & 0x80000000) {
    if (!ok) return 2;
    if (vi.dwMajorVersion < 4) return 0;
    return vi.dwMinorVersion == 10 ? 3 : vi.dwMinorVersion == 90 ? 4 : 2;
  }
  if (!ok) return 1;
  if (vi.dwMajorVersion == 4) return 5;
  if (vi.dwMajorVersion == 5) return vi.dwMinorVersion == 0 ? 6 : vi.dwMinorVersion == 1 ? 7 : 1;
  return 1;
}

const int g_systemKind = ComputeSystemKind();

std::wstring Wide(const CString& s) {
  int n = ::MultiByteToWideChar(CP_ACP, 0, s, -1, nullptr, 0);
  std::wstring w(n > 0 ? n : 1, L'\0');
  if (n > 0) ::MultiByteToWideChar(CP_ACP, 0, s, -1, &w[0], n);
  w.resize(wcslen(w.c_str()));
  return w;
}

CString Narrow(const std::wstring& w) {
  int n = ::WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
  CString s;
  if (n > 0) {
    ::WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, s.GetBuffer(n), n, nullptr, nullptr);
    s.ReleaseBuffer();
  }
  return s;
}

CString MenuString(HMENU hMenu, int pos) {
  int len = ::GetMenuStringA(hMenu, pos, nullptr, 0, MF_BYPOSITION);
  CString s;
  if (len > 0) {
    ::GetMenuStringA(hMenu, pos, s.GetBuffer(len * 2 + 2), len * 2 + 2, MF_BYPOSITION);
    s.ReleaseBuffer();
  }
  return s;
}
}  // namespace

int CODIconMenu::GetSystemKind() { return g_systemKind; }

CODIconMenu::CODIconMenu() : m_nConverted(0) {}

CODIconMenu::~CODIconMenu() {
  auto& h = MenuHandles();
  h.erase(std::remove(h.begin(), h.end(), m_hMenu), h.end());
  for (OD_ICONMENU_ITEM* item : m_items) {
    delete item->owned;
    delete item;
  }
}

BOOL CODIconMenu::Attach(HMENU hMenu) {
  if (!CMenu::Attach(hMenu)) return FALSE;
  MenuHandles().push_back(hMenu);
  return TRUE;
}

BOOL CODIconMenu::IsIconMenu(HMENU hMenu) {
  const auto& h = MenuHandles();
  return std::find(h.begin(), h.end(), hMenu) != h.end();
}

OD_ICONMENU_ITEM* CODIconMenu::TakeRecord(UINT nID) {
  for (OD_ICONMENU_ITEM* item : m_items)
    if (item->id == nID && !item->used) {
      item->used = TRUE;
      return item;
    }
  OD_ICONMENU_ITEM* item = new OD_ICONMENU_ITEM;
  item->id = nID;
  item->used = TRUE;
  m_items.push_back(item);
  return item;
}

void CODIconMenu::ConvertMenu(HMENU hMenu, std::vector<OD_ICONMENU_ITEM*>& out) {
  const int count = ::GetMenuItemCount(hMenu);
  for (int pos = 0; pos < count; ++pos) {
    UINT state = ::GetMenuState(hMenu, pos, MF_BYPOSITION);
    HMENU sub = ::GetSubMenu(hMenu, pos);
    UINT id = ::GetMenuItemID(hMenu, pos);
    CString caption = MenuString(hMenu, pos);
    OD_ICONMENU_ITEM* rec = TakeRecord(sub ? 0xFFFFFFFF - pos : id);
    rec->caption = Wide(caption);
    out.push_back(rec);
    if (sub) {
      rec->flags = (state & 0xEF) | MF_POPUP | MF_BYPOSITION | MF_OWNERDRAW;
      ::ModifyMenuA(hMenu, pos, rec->flags, (UINT_PTR)sub, (LPCSTR)rec);
      ConvertMenu(sub, out);
    } else if (state & MF_SEPARATOR) {
      rec->flags = (state & 0xFF) | MF_SEPARATOR | MF_BYPOSITION | MF_OWNERDRAW;
      ::ModifyMenuA(hMenu, pos, rec->flags, 0, (LPCSTR)rec);
    } else {
      rec->flags = (state & 0xFF) | MF_BYPOSITION | MF_OWNERDRAW;
      ::ModifyMenuA(hMenu, pos, rec->flags, id, (LPCSTR)rec);
    }
  }
}

void CODIconMenu::ConvertItems() {
  for (OD_ICONMENU_ITEM* item : m_items) item->used = FALSE;
  std::vector<OD_ICONMENU_ITEM*> converted;
  ConvertMenu(m_hMenu, converted);
  for (OD_ICONMENU_ITEM* item : m_items)
    if (!item->used) {
      delete item->owned;
      delete item;
    }
  m_items = converted;
  m_nConverted = ::GetMenuItemCount(m_hMenu);
}

namespace {
BOOL Find(HMENU hMenu, UINT nID, HMENU* phMenu, int* pnPos) {
  const int count = ::GetMenuItemCount(hMenu);
  for (int pos = 0; pos < count; ++pos) {
    if (HMENU sub = ::GetSubMenu(hMenu, pos)) {
      if (Find(sub, nID, phMenu, pnPos)) return TRUE;
    } else if (::GetMenuItemID(hMenu, pos) == nID) {
      *phMenu = hMenu;
      *pnPos = pos;
      return TRUE;
    }
  }
  return FALSE;
}
}  // namespace

BOOL CODIconMenu::FindItem(UINT nID, HMENU* phMenu, int* pnPos) const {
  *phMenu = nullptr;
  *pnPos = -1;
  return Find(m_hMenu, nID, phMenu, pnPos);
}

CString CODIconMenu::GetCaption(UINT nIDOrPos, UINT nFlags) const {
  HMENU menu = m_hMenu;
  int pos = (int)nIDOrPos;
  if (!(nFlags & MF_BYPOSITION) && !FindItem(nIDOrPos, &menu, &pos)) return CString();
  MENUITEMINFOA mii = {sizeof(mii), MIIM_DATA | MIIM_FTYPE};
  if (::GetMenuItemInfoA(menu, pos, TRUE, &mii) && (mii.fType & MFT_OWNERDRAW) && mii.dwItemData)
    return Narrow(((OD_ICONMENU_ITEM*)mii.dwItemData)->caption);
  return MenuString(menu, pos);
}

LRESULT CODIconMenu::MenuChar(UINT nChar, UINT nFlags, CMenu* pMenu) {
  if (!(nFlags & MF_POPUP) || !pMenu) return 0;
  if (::GetMenuItemCount(m_hMenu) != m_nConverted) ConvertItems();
  CString search;
  search.Format("&%c", (char)nChar);
  search.MakeLower();
  const int count = ::GetMenuItemCount(pMenu->m_hMenu);
  for (int pos = 0; pos < count; ++pos) {
    CString caption = GetCaption(pos, MF_BYPOSITION);
    if (pMenu->m_hMenu != m_hMenu) caption = MenuString(pMenu->m_hMenu, pos);
    MENUITEMINFOA mii = {sizeof(mii), MIIM_DATA | MIIM_FTYPE};
    if (::GetMenuItemInfoA(pMenu->m_hMenu, pos, TRUE, &mii) && (mii.fType & MFT_OWNERDRAW) && mii.dwItemData)
      caption = Narrow(((OD_ICONMENU_ITEM*)mii.dwItemData)->caption);
    caption.MakeLower();
    if (caption.Find(search) >= 0) return 0x20000 | pos;
  }
  return 0;
}

void CODIconMenu::MeasureItem(LPMEASUREITEMSTRUCT lpMIS) {
  const OD_ICONMENU_ITEM* item = (const OD_ICONMENU_ITEM*)lpMIS->itemData;
  if (!item) return;
  if (item->flags & MF_SEPARATOR) {
    lpMIS->itemHeight = 5;
    lpMIS->itemWidth = 20;
    return;
  }
  HDC dc = ::GetDC(nullptr);
  HFONT font = ODCreateFont(12);
  HGDIOBJ old = ::SelectObject(dc, font);
  SIZE sz = {};
  ::GetTextExtentPoint32W(dc, item->caption.c_str(), (int)item->caption.size(), &sz);
  ::SelectObject(dc, old);
  ::DeleteObject(font);
  ::ReleaseDC(nullptr, dc);
  lpMIS->itemWidth = sz.cx + 40;
  lpMIS->itemHeight = 20;
}

void CODIconMenu::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  const OD_ICONMENU_ITEM* item = (const OD_ICONMENU_ITEM*)lpDIS->itemData;
  if (!item) return;
  const ODMenuTheme& t = ODMenuValues();
  HDC dc = lpDIS->hDC;
  RECT rc = lpDIS->rcItem;
  const BOOL hot = (lpDIS->itemState & ODS_SELECTED) != 0;
  ODFillSolid(dc, rc, hot ? t.crItemBkMove : t.crItemBkNormal);
  RECT image = {rc.left, rc.top, rc.left + 20, rc.bottom};
  ODFillSolid(dc, image, t.crImageBk);
  if (item->flags & MF_SEPARATOR) {
    int y = (rc.top + rc.bottom) / 2;
    RECT a = {rc.left + 24, y, rc.right, y + 1}, b = {rc.left + 24, y + 1, rc.right, y + 2};
    ODFillSolid(dc, a, t.crSepShadow);
    ODFillSolid(dc, b, t.crSepHiLight);
    return;
  }
  if (hot) ODFrame(dc, rc, t.crItemEdgeMove, 1);
  HFONT font = ODCreateFont(12);
  HGDIOBJ old = ::SelectObject(dc, font);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, (lpDIS->itemState & ODS_DISABLED) ? t.crItemTextDisable : hot ? t.crItemTextNormal : RGB(0, 0, 0));
  RECT text = {rc.left + 26, rc.top, rc.right - 4, rc.bottom};
  ::DrawTextW(dc, item->caption.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER);
  ::SelectObject(dc, old);
  ::DeleteObject(font);
}
