#include "SystemMessages.h"

#include <cctype>
#include <cstring>

#include "SystemTexts.h"
#include "WebUrl.h"
#include "WireBytes.h"

namespace sysmsg {

namespace {
constexpr uint32_t kIconInformation = 0x40;
}  // namespace

Bytes BuildLoginBody(const std::string& userName, const std::string& loginKey, const std::string& roomTitle,
                     uint16_t loginWord, uint16_t seat) {
  wire::Writer w;
  w.Field(userName, 20);
  w.Field(loginKey, 40);
  w.Field(roomTitle, 40);
  w.U16(loginWord);
  w.U16(seat);
  w.U8(3);
  w.U8(0);
  w.U8(0);
  w.U8(0);
  return w.Take();
}

Bytes BuildTrustExitBody(const std::string& ownName) {
  wire::Writer w;
  w.Field(ownName, kNameField);
  return w.Take();
}

Bytes BuildOptionFlagsBody(int type, uint32_t value) {
  wire::Writer w;
  w.U32(value);
  w.U32(0);
  w.U32(type == 1);
  w.U32(type == 2);
  w.U32(type == 3);
  w.U32(0);
  w.U32(type == 4);
  return w.Take();
}

Bytes BuildServerDialogReply(uint32_t echo, uint32_t button, const std::optional<std::string>& answer) {
  wire::Writer w;
  w.U32(echo);
  w.U32(button);
  if (answer) w.CString(*answer);
  return w.Take();
}

Bytes BuildLocalPortReply(const uint8_t addr[4], uint16_t portHostOrder) {
  wire::Writer w;
  w.Bytes(addr, 4);
  // The port as getsockname stores it: network order in the low 16 bits.
  w.U8(static_cast<uint8_t>(portHostOrder >> 8));
  w.U8(static_cast<uint8_t>(portHostOrder));
  w.U8(0);
  w.U8(0);
  return w.Take();
}

LoginReply ParseLoginReply(uint32_t status, const uint8_t* body, size_t size) {
  LoginReply r;
  r.status = static_cast<int32_t>(status);
  r.negative = r.status < 0;
  uint8_t low = status & 0xFF;
  if (low == 4) {
    r.outcome = LoginReply::IllegalUser;
    return r;
  }
  if (low != 1) return r;
  r.outcome = LoginReply::Accepted;
  wire::Reader rd(body, size);
  if (!rd.U16(&r.playerCount) || !rd.U16(&r.chatValue)) return r;
  // Entries are read only while they lie inside the body.
  for (uint16_t i = 0; i < r.playerCount; ++i) {
    LoginPlayer p;
    uint32_t first;
    if (!rd.U32(&first)) return r;
    p.seat = static_cast<uint16_t>(first & 0xFFFF);
    p.codePage = static_cast<uint16_t>(first >> 16);
    if (!rd.Field(20, &p.userName)) return r;
    p.nickOffset = rd.pos();
    if (!rd.Field(20, &p.nickName) || !rd.I32(&p.gender)) return r;
    r.players.push_back(std::move(p));
  }
  uint32_t len;
  if (!rd.U32(&len) || len > rd.remaining()) return r;
  r.options.assign(rd.here(), rd.here() + len);
  rd.Skip(len);
  r.complete = true;
  // The watch block is there only when its length word starts inside the body.
  if (rd.remaining() >= 4) {
    rd.U32(&len);
    if (len <= rd.remaining()) {
      r.watch.assign(rd.here(), rd.here() + len);
    } else {
      r.complete = false;
    }
  }
  return r;
}

bool ValidatePlayerList(const LoginReply& reply) {
  if (reply.outcome != LoginReply::Accepted || !reply.complete) return false;
  if (reply.playerCount != 3 && reply.playerCount != 4) return false;
  if (reply.players.size() != reply.playerCount) return false;
  bool seen[4] = {};
  for (const auto& p : reply.players) {
    if (p.seat >= reply.playerCount || seen[p.seat]) return false;
    seen[p.seat] = true;
  }
  return true;
}

void WriteNicknameField(uint8_t* field, const std::string& converted) {
  size_t n = 0;
  while (n < converted.size()) {
    size_t step = static_cast<unsigned char>(converted[n]) >= 0x80 ? 2 : 1;
    if (n + step > kNameField - 1 || n + step > converted.size()) break;
    n += step;
  }
  std::memcpy(field, converted.data(), n);
  std::memset(field + n, 0, kNameField - n);
}

std::optional<NoticeBox> ParseNoticeBox(const uint8_t* body, size_t size) {
  wire::Reader rd(body, size);
  NoticeBox n;
  uint32_t offset;
  if (!rd.I32(&n.textId) || !rd.U32(&n.style) || !rd.I32(&n.urlButton) || !rd.I32(&n.urlFlag) ||
      !rd.I32(&n.closeFlag) || !rd.I32(&n.endFlag) || !rd.U32(&offset))
    return std::nullopt;
  const size_t textStart = 28;
  if (n.textId == 0) {
    rd.CString(&n.text);
    // The code-page word lies `offset` bytes behind the text start when 4 bytes fit there.
    if (offset <= size - textStart && size - textStart - offset >= 4) {
      const uint8_t* p = body + textStart + offset;
      n.codePage = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
    }
  }
  rd.CString(&n.url);
  return n;
}

bool NoticeOpensUrl(const NoticeBox& n, bool boxShown, int boxResult) {
  bool allowed = !boxShown || boxResult == n.urlButton;
  return allowed && n.urlFlag != -1 && !n.url.empty() && weburl::IsWebUrl(n.url);
}

std::optional<ServerDialog> ParseServerDialog(const uint8_t* body, size_t size) {
  if (size <= 16) return std::nullopt;
  wire::Reader rd(body, size);
  ServerDialog d;
  rd.U32(&d.echo);
  rd.U32(&d.style);
  rd.U32(&d.countdown);
  rd.U32(&d.inputFlag);
  rd.CString(&d.text);
  return d;
}

std::optional<TextBox> ParseTextBox(const uint8_t* body, size_t size) {
  wire::Reader rd(body, size);
  TextBox t;
  if (!rd.I32(&t.stringId) || !rd.U32(&t.style) || !rd.U32(&t.countdown)) return std::nullopt;
  rd.CString(&t.text);
  if (t.stringId == 0 && t.text.empty()) return std::nullopt;
  return t;
}

std::optional<std::string> OwnInfoName(const uint8_t* body, size_t size) {
  if (size < kOwnInfoSize) return std::nullopt;
  wire::Reader rd(body, size);
  std::string name;
  rd.Field(kNameField, &name);
  return name;
}

std::optional<TipWindow> ParseTipWindow(const uint8_t* body, size_t size) {
  wire::Reader rd(body, size);
  TipWindow t;
  if (!rd.Field(128, &t.title) || !rd.Field(512, &t.url) || !rd.I32(&t.first) || !rd.I32(&t.second))
    return std::nullopt;
  return t;
}

std::optional<std::string> ParseName(const uint8_t* body, size_t size) {
  if (size == 0) return std::nullopt;
  const char* s = reinterpret_cast<const char*>(body);
  return std::string(s, strnlen(s, size < kNameField ? size : kNameField));
}

std::optional<TrusteeshipResult> ParseTrusteeshipResult(const uint8_t* body, size_t size) {
  wire::Reader rd(body, size);
  TrusteeshipResult r;
  if (!rd.U16(&r.mode) || !rd.U16(&r.counts)) return std::nullopt;
  auto name = ParseName(rd.here(), rd.remaining());
  if (!name) return std::nullopt;
  r.name = *name;
  return r;
}

std::vector<WealthRow> ParseWealthRows(const uint8_t* body, size_t size) {
  std::vector<WealthRow> rows;
  wire::Reader rd(body, size);
  for (size_t i = 0; i < size / 28; ++i) {
    WealthRow w;
    rd.Field(kNameField, &w.name);
    rd.I32(&w.chatValue);
    rd.I32(&w.shown);
    rows.push_back(std::move(w));
  }
  return rows;
}

std::optional<WireCode> ParseWireCode(const uint8_t* body, size_t size) {
  wire::Reader rd(body, size);
  WireCode c;
  uint32_t sendLen, recvLen;
  if (!rd.U32(&c.sendState) || !rd.U32(&c.recvState) || !rd.U32(&sendLen) || !rd.U32(&recvLen)) return std::nullopt;
  if (sendLen > rd.remaining() || recvLen > rd.remaining() - sendLen) return std::nullopt;
  c.sendBlock.assign(rd.here(), rd.here() + sendLen);
  rd.Skip(sendLen);
  c.recvBlock.assign(rd.here(), rd.here() + recvLen);
  return c;
}

FatalOutcome MapFatal(uint32_t code, const std::string& name, const std::string& ownName) {
  switch (code) {
    case 1:
      return {1, 29920, true};
    case 2:
      return {2, 29917, false};
    case 4:
      return name == ownName ? FatalOutcome{3, 29918, false} : FatalOutcome{3, 29935, true};
    case 8:
      return {4, 29921, true};
    default:
      return {0, 29922, false};
  }
}

Notice TrusteeshipNotice(uint32_t status, const TrusteeshipResult& r, bool ownName) {
  Notice n;
  if (status != 1) {
    n.countdown = 5;
    if (r.mode == 1) {
      n.kind = Notice::Box;
      n.stringId = 29940;
    } else if (r.counts != 0) {
      n.kind = Notice::TextBox;
      n.stringId = 29942;
    } else {
      n.kind = Notice::Box;
      n.stringId = 29941;
    }
    return n;
  }
  if (!ownName) {
    n.kind = Notice::SystemLine;
    n.line = r.mode == 0 ? kLineTrustOff : r.mode == 2 ? kLineTrustTimeout : kLineTrustOn;
    return n;
  }
  n.kind = Notice::TextBox;
  n.style = kIconInformation;
  n.onlyWhenVisible = true;
  n.stringId = r.mode == 1 ? 29943 : r.mode == 2 ? 29946 : 29947;
  n.countdown = n.stringId == 29947 ? 5 : 0;
  return n;
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 0x80 || y >= 0x80) {
      // The trail byte of a double-byte character is compared as it stands.
      if (x != y) return false;
      if (i + 1 < a.size()) {
        ++i;
        if (a[i] != b[i]) return false;
      }
      continue;
    }
    if (std::tolower(x) != std::tolower(y)) return false;
  }
  return true;
}

}  // namespace sysmsg
