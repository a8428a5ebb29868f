// The advertisement control stand-in: shows a banner text or the page it is given (a
// local page of the advertisement folder as its plain text, a web page by its address).
#include <windows.h>

#include <cstdio>
#include <string>

#include "Controls.h"
#include "CtrlBase.h"

namespace {

// The position the chat view's control serves (the kind whose default page is default_hzh).
const long kDefaultPosition = 1003;

// The visible text of a small HTML page: tags dropped, white space folded.
std::string PageText(const std::string& html) {
  std::string out;
  bool inTag = false, space = false;
  for (char c : html) {
    if (c == '<')
      inTag = true;
    else if (c == '>')
      inTag = false;
    else if (!inTag) {
      if (c == '\r' || c == '\n' || c == '\t' || c == ' ') {
        space = !out.empty();
      } else {
        if (space) out += ' ';
        space = false;
        out += c;
      }
    }
    if (out.size() > 2000) break;
  }
  return out;
}

std::string ReadPage(const std::string& page) {
  std::string path = page;
  if (path.compare(0, 7, "file://") == 0)
    path = path.substr(7);
  else
    return page;  // a web address is shown as it is
  size_t q = path.find('?');
  if (q != std::string::npos) path.resize(q);
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return page;
  std::string html(16384, '\0');
  html.resize(std::fread(&html[0], 1, html.size(), f));
  std::fclose(f);
  return PageText(html);
}

class CAdControl : public CCtrlBase {
 public:
  CAdControl() : CCtrlBase(CLSID_QKAdCtrl) {}

 protected:
  const char* ClassName() const override { return "QKAdCtrl"; }
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  HRESULT Call(DISPID id, WORD wFlags, const CArgs& a, VARIANT* r) override;

 private:
  void Show(long id, const std::string& text) {
    char head[32];
    std::snprintf(head, sizeof head, "[%ld] ", id);
    m_text = head + text;
    if (m_hWnd) {
      // Another process reads what is shown as plain ASCII.
      std::string mirror = m_text;
      for (char& c : mirror)
        if ((unsigned char)c >= 0x80) c = '?';
      ::SetWindowTextA(m_hWnd, mirror.c_str());
      ::InvalidateRect(m_hWnd, nullptr, TRUE);
    }
  }
  long m_nPosition = kDefaultPosition;
  std::string m_text;
};

LRESULT CAdControl::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    HBRUSH b = ::CreateSolidBrush(RGB(255, 250, 220));
    ::FillRect(hdc, &rc, b);
    ::DeleteObject(b);
    ::InflateRect(&rc, -4, -4);
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, RGB(150, 60, 0));
    HGDIOBJ old = ::SelectObject(hdc, ::GetStockObject(DEFAULT_GUI_FONT));
    ::DrawTextA(hdc, m_text.c_str(), (int)m_text.size(), &rc, DT_WORDBREAK | DT_NOPREFIX);
    ::SelectObject(hdc, old);
    ::EndPaint(m_hWnd, &ps);
    return 0;
  }
  return CCtrlBase::WndProc(msg, wParam, lParam);
}

HRESULT CAdControl::Call(DISPID id, WORD, const CArgs& a, VARIANT* r) {
  switch (id) {
    case 2:
      SetLong(r, m_nPosition);
      return S_OK;
    case 9: {  // banner: id, link, second link, text, two values: the text, else the linked page
      std::string shown = a.Str(3).empty() ? ReadPage(a.Str(1)) : a.Str(3);
      // The second link (where a click on the banner leads) is shown after it.
      if (!a.Str(2).empty()) shown += " <" + a.Str(2) + ">";
      Show(a.Long(0), shown);
      return S_OK;
    }
    case 10:
    case 11:
    case 12:  // a page: id, page, ...
      Show(a.Long(0), ReadPage(a.Str(1)));
      return S_OK;
    case DISPID_ADTEXT:
      SetStr(r, m_text);
      return S_OK;
  }
  return DISP_E_MEMBERNOTFOUND;
}

}  // namespace

IUnknown* NewAdControl() { return static_cast<IOleObject*>(new CAdControl); }
