#include "AdRecord.h"

#include <cstdio>

#include "WebUrl.h"

namespace adrecord {
namespace {

uint32_t U32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

void ReplaceAll(std::string& s, const std::string& what, const std::string& with) {
  for (size_t pos = 0; (pos = s.find(what, pos)) != std::string::npos; pos += with.size())
    s.replace(pos, what.size(), with);
}

}  // namespace

bool Parse(const uint8_t* f, size_t size, AdRecord* out) {
  if (!f || size < kFixedSize) return false;
  size_t lens[4] = {f[32], f[33], f[34], f[35]};
  if (lens[0] + lens[1] + lens[2] + lens[3] > size - kFixedSize) return false;
  AdRecord r;
  r.position = U32(f + 8);
  r.id = U32(f + 12);
  r.valueA = U16(f + 16);
  r.valueB = U16(f + 18);
  r.seconds = U16(f + 20);
  r.kind = U16(f + 22);
  r.height = U16(f + 28);
  r.width = U16(f + 30);
  std::string* strings[4] = {&r.link1, &r.link2, &r.page, &r.text};
  size_t pos = kFixedSize;
  for (int i = 0; i < 4; ++i) {
    // Texts end at their first zero, as the fixed fields they are copied into would.
    std::string s(reinterpret_cast<const char*>(f + pos), lens[i]);
    *strings[i] = s.substr(0, s.find('\0'));
    pos += lens[i];
  }
  *out = r;
  return true;
}

std::string DefaultPage(uint32_t kind, const std::string& share) {
  const char* name = "gg.htm";
  if (kind == 1003 || kind == 1009)
    name = "default_hzh.htm";
  else if (kind == 1004)
    name = "warning60.htm";
  else if (kind == 1006)
    name = "exitad.htm";
  else if (kind == 1007)
    name = "exdlgad.htm";
  return "file://" + share + "\\" + name;
}

void ResolvePages(AdRecord& r, const std::string& share, const std::function<bool(const std::string&)>& exists,
                  const std::string* replacement, const char* text1, const char* text2) {
  auto fallback = [&]() { return replacement ? *replacement : DefaultPage(r.position, share); };
  std::string* pages[3] = {&r.link1, &r.link2, &r.page};
  for (std::string* s : pages) {
    if (s->empty() || weburl::IsWebUrl(*s)) continue;
    // A page name never leaves the advertisement folder.
    if (s->find("..") != std::string::npos || s->find(':') != std::string::npos || (*s)[0] == '\\' || (*s)[0] == '/') {
      *s = fallback();
      continue;
    }
    std::string folder = share + "\\Advert\\" + std::to_string(r.id) + "\\";
    std::string local = folder + s->substr(0, s->find('?'));
    while (!local.empty() && (local.back() == ' ' || local.back() == '\t')) local.pop_back();
    std::string address = "file://" + folder + *s;
    *s = exists(local) ? address : fallback();
  }
  if (r.link1.empty() && (r.position == 1 || r.position == 2)) r.link1 = fallback();
  if (text1 && text2) {
    for (std::string* s : {&r.link1, &r.link2, &r.page, &r.text}) {
      ReplaceAll(*s, "%1", text1);
      ReplaceAll(*s, "%2", text2);
    }
  }
}

ShowCall ChooseCall(const AdRecord& r) {
  ShowCall c;
  c.timeMs = long(r.seconds) * 1000;
  if (r.position < 0x100000) {
    c.dispid = 9;
  } else if (!r.page.empty()) {
    if (r.kind == 1 || r.kind == 2) {
      c.dispid = 11;
      c.secondKind = r.kind == 2;
    } else if (r.kind == 3 || r.kind == 4) {
      c.dispid = r.width == 0 && r.height == 0 ? 10 : 12;
      c.secondKind = r.kind == 4;
    }
  }
  return c;
}

}  // namespace adrecord
