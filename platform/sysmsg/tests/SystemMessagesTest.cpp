#include "SystemMessages.h"

#include <gtest/gtest.h>

#include "SystemTexts.h"
#include "WireBytes.h"

using namespace sysmsg;

namespace {
std::string Hex(const Bytes& b) {
  static const char* d = "0123456789abcdef";
  std::string s;
  for (uint8_t c : b) {
    s += d[c >> 4];
    s += d[c & 15];
  }
  return s;
}

Bytes LoginBody(uint16_t count, const std::vector<uint16_t>& seats, const std::string& options,
                std::optional<std::string> watch) {
  wire::Writer w;
  w.U16(count);
  w.U16(77);
  for (uint16_t s : seats) {
    w.U32(s | (936u << 16));
    w.Field("user" + std::to_string(s), 20);
    w.Field("nick" + std::to_string(s), 20);
    w.I32(1);
  }
  w.U32(static_cast<uint32_t>(options.size() + 1));
  w.CString(options);
  if (watch) {
    w.U32(static_cast<uint32_t>(watch->size()));
    w.Bytes(watch->data(), watch->size());
  }
  return w.Take();
}
}  // namespace

TEST(SystemBodies, GoldenBytes) {
  Bytes login = BuildLoginBody("alice", "key", "room", 0x1234, 5);
  ASSERT_EQ(login.size(), 108u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(login.data()), 5), "alice");
  EXPECT_EQ(login[20], 'k');
  EXPECT_EQ(login[60], 'r');
  EXPECT_EQ(Hex(Bytes(login.begin() + 100, login.end())), "3412050003000000");

  struct {
    int type;
    const char* hex;
  } flags[] = {
      {1, "07000000000000000100000000000000000000000000000000000000"},
      {3, "07000000000000000000000000000000010000000000000000000000"},
      {4, "07000000000000000000000000000000000000000000000001000000"},
  };
  for (const auto& f : flags) EXPECT_EQ(Hex(BuildOptionFlagsBody(f.type, 7)), f.hex) << f.type;

  EXPECT_EQ(Hex(BuildServerDialogReply(9, 6, std::nullopt)), "0900000006000000");
  EXPECT_EQ(Hex(BuildServerDialogReply(9, 1, std::string("ok"))), "09000000010000006f6b00");
  const uint8_t addr[4] = {127, 0, 0, 1};
  EXPECT_EQ(Hex(BuildLocalPortReply(addr, 0x1BBC)), "7f0000011bbc0000");
  EXPECT_EQ(BuildTrustExitBody("a-name-that-is-far-too-long").size(), 20u);
}

TEST(LoginReplyTest, OutcomesAndBlocks) {
  Bytes body = LoginBody(3, {0, 1, 2}, "1 2,3", std::string("\x01\x02\x03", 3));
  auto r = ParseLoginReply(1, body.data(), body.size());
  EXPECT_EQ(r.outcome, LoginReply::Accepted);
  ASSERT_EQ(r.players.size(), 3u);
  EXPECT_EQ(r.players[2].seat, 2);
  EXPECT_EQ(r.players[2].codePage, 936);
  EXPECT_EQ(r.players[1].nickName, "nick1");
  EXPECT_EQ(r.chatValue, 77);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(r.options.data())), "1 2,3");
  EXPECT_EQ(r.watch.size(), 3u);
  EXPECT_TRUE(ValidatePlayerList(r));

  Bytes noWatch = LoginBody(3, {0, 1, 2}, "", std::nullopt);
  auto nw = ParseLoginReply(1, noWatch.data(), noWatch.size());
  EXPECT_TRUE(nw.watch.empty());
  EXPECT_TRUE(ValidatePlayerList(nw));

  EXPECT_EQ(ParseLoginReply(4, nullptr, 0).outcome, LoginReply::IllegalUser);
  EXPECT_EQ(ParseLoginReply(2, body.data(), body.size()).outcome, LoginReply::Unavailable);
  auto neg = ParseLoginReply(0xFFFFFF01u, body.data(), body.size());
  EXPECT_TRUE(neg.negative);
  EXPECT_EQ(neg.outcome, LoginReply::Accepted);
}

TEST(LoginReplyTest, PlayerListsThatCannotEnterATable) {
  struct {
    const char* name;
    Bytes body;
  } cases[] = {
      {"two players", LoginBody(2, {0, 1}, "", std::nullopt)},
      {"five players", LoginBody(5, {0, 1, 2, 3, 4}, "", std::nullopt)},
      {"seat twice", LoginBody(3, {0, 1, 1}, "", std::nullopt)},
      {"seat beyond count", LoginBody(3, {0, 1, 3}, "", std::nullopt)},
      {"count beyond entries", LoginBody(4, {0, 1, 2}, "", std::nullopt)},
  };
  for (const auto& c : cases) {
    auto r = ParseLoginReply(1, c.body.data(), c.body.size());
    EXPECT_FALSE(ValidatePlayerList(r)) << c.name;
  }
  Bytes cut = LoginBody(3, {0, 1, 2}, "1 2 3", std::nullopt);
  for (size_t n = 0; n < cut.size(); ++n) {
    auto r = ParseLoginReply(1, cut.data(), n);
    EXPECT_FALSE(ValidatePlayerList(r)) << "cut at " << n;
  }
}

TEST(LoginReplyTest, NicknamesAreWrittenBackOnCharacterBoundaries) {
  uint8_t field[20];
  std::memset(field, 0x55, sizeof field);
  std::string nine(9, 'a');
  WriteNicknameField(field, nine + "\xC4\xE3\xBA\xC3\xCA\xC0\xBD\xE7\xC4\xE3");  // 9 + 10 bytes
  // 9 ASCII + 4 two-byte characters = 17; a fifth would pass 19 bytes.
  EXPECT_EQ(std::string(reinterpret_cast<char*>(field)), nine + "\xC4\xE3\xBA\xC3\xCA\xC0\xBD\xE7\xC4\xE3");
  std::string ten(10, 'b');
  WriteNicknameField(field, ten + "\xC4\xE3\xBA\xC3\xCA\xC0\xBD\xE7\xC4\xE3");
  EXPECT_EQ(std::string(reinterpret_cast<char*>(field)), ten + "\xC4\xE3\xBA\xC3\xCA\xC0\xBD\xE7");
  EXPECT_EQ(field[19], 0);
}

TEST(NoticeBoxTest, TextsUrlsAndCodePages) {
  auto body = [](int32_t id, int32_t urlFlag, uint32_t offset, const std::string& text, const std::string& url,
                 std::optional<uint32_t> cp) {
    wire::Writer w;
    w.I32(id);
    w.U32(0);
    w.I32(1);  // IDOK opens the URL
    w.I32(urlFlag);
    w.I32(0);
    w.I32(0);
    w.U32(offset);
    if (id == 0) w.CString(text);
    w.CString(url);
    if (cp) w.U32(*cp);
    return w.Take();
  };
  // No box: the URL at offset 28 opens without a box.
  Bytes quiet = body(-1, 0, 0, "", "http://example.test/", std::nullopt);
  auto q = ParseNoticeBox(quiet.data(), quiet.size());
  ASSERT_TRUE(q);
  EXPECT_EQ(q->url, "http://example.test/");
  EXPECT_TRUE(NoticeOpensUrl(*q, false, 0));
  // Inline text with its code page behind the URL.
  std::string text = "hi", url = "https://a.test";
  Bytes inl = body(0, 0, static_cast<uint32_t>(text.size() + 1 + url.size() + 1), text, url, 950u);
  auto n = ParseNoticeBox(inl.data(), inl.size());
  ASSERT_TRUE(n);
  EXPECT_EQ(n->text, "hi");
  EXPECT_EQ(n->url, url);
  EXPECT_EQ(n->codePage, 950u);
  EXPECT_TRUE(NoticeOpensUrl(*n, true, 1));
  EXPECT_FALSE(NoticeOpensUrl(*n, true, 2));
  // Fewer than 4 bytes behind the offset: code page 936.
  Bytes shortCp = body(0, 0, 100, text, url, std::nullopt);
  EXPECT_EQ(ParseNoticeBox(shortCp.data(), shortCp.size())->codePage, 936u);
  // Only web addresses open; a URL flag of -1 never.
  for (const char* bad : {"file:///c:/x.exe", "c:\\windows\\x.exe", "http://", "javascript:alert(1)"}) {
    Bytes b = body(-1, 0, 0, "", bad, std::nullopt);
    EXPECT_FALSE(NoticeOpensUrl(*ParseNoticeBox(b.data(), b.size()), false, 0)) << bad;
  }
  Bytes noFlag = body(-1, -1, 0, "", "http://x.test", std::nullopt);
  EXPECT_FALSE(NoticeOpensUrl(*ParseNoticeBox(noFlag.data(), noFlag.size()), false, 0));
  EXPECT_FALSE(ParseNoticeBox(quiet.data(), 27));
}

TEST(ServerFramesTest, DialogsBoxesTipsAndRows) {
  Bytes sixteen(16, 0);
  EXPECT_FALSE(ParseServerDialog(sixteen.data(), sixteen.size()));
  wire::Writer d;
  d.U32(5);
  d.U32(0x80000004);
  d.U32(10);
  d.U32(1);
  d.CString("name?");
  auto dlg = ParseServerDialog(d.bytes().data(), d.bytes().size());
  ASSERT_TRUE(dlg);
  EXPECT_EQ(dlg->echo, 5u);
  EXPECT_EQ(dlg->text, "name?");

  Bytes tipShort(128 + 512 + 4, 0);
  EXPECT_FALSE(ParseTipWindow(tipShort.data(), tipShort.size()));

  wire::Writer rows;
  for (int i = 0; i < 2; ++i) {
    rows.Field("p" + std::to_string(i), 20);
    rows.I32(i);
    rows.I32(-100 * i);
  }
  rows.U8(1);  // a partial row is not read
  auto wr = ParseWealthRows(rows.bytes().data(), rows.bytes().size());
  ASSERT_EQ(wr.size(), 2u);
  EXPECT_EQ(wr[1].shown, -100);

  const uint8_t longName[30] = {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 'k', 'l', 'm', 'n',
                                'o', 'p', 'q', 'r', 's', 't', 'u', 'v', 'w', 'x', 'y', 'z', 0};
  EXPECT_EQ(ParseName(longName, sizeof longName)->size(), 20u);
  EXPECT_FALSE(OwnInfoName(longName, sizeof longName));
}

TEST(ServerFramesTest, WireCodeBlocksMustFit) {
  wire::Writer w;
  w.U32(1);
  w.U32(2);
  w.U32(3);
  w.U32(2);
  w.Bytes("abcde", 5);
  auto c = ParseWireCode(w.bytes().data(), w.bytes().size());
  ASSERT_TRUE(c);
  EXPECT_EQ(c->sendBlock.size(), 3u);
  EXPECT_EQ(c->recvBlock[1], 'e');
  EXPECT_FALSE(ParseWireCode(w.bytes().data(), w.bytes().size() - 1));
  wire::Writer huge;
  huge.U32(0);
  huge.U32(0);
  huge.U32(0xFFFFFFF0);
  huge.U32(0x20);
  EXPECT_FALSE(ParseWireCode(huge.bytes().data(), huge.bytes().size()));
}

TEST(Decisions, FatalCodes) {
  struct {
    uint32_t code;
    const char* name;
    int reason, id;
  } cases[] = {{1, "x", 1, 29920},     {2, "x", 2, 29917}, {4, "me", 3, 29918}, {4, "ME", 3, 29935},
               {4, "other", 3, 29935}, {8, "x", 4, 29921}, {16, "x", 0, 29922}};
  for (const auto& c : cases) {
    auto f = MapFatal(c.code, c.name, "me");
    EXPECT_EQ(f.closeReason, c.reason) << c.code << c.name;
    EXPECT_EQ(f.stringId, c.id) << c.code << c.name;
  }
}

TEST(Decisions, TrusteeshipNotices) {
  struct {
    uint32_t status;
    uint16_t mode, counts;
    bool own;
    Notice::Kind kind;
    int id;
    int countdown;
  } cases[] = {
      {0, 1, 0, true, Notice::Box, 29940, 5},          {0, 0, 0x0302, true, Notice::TextBox, 29942, 5},
      {0, 0, 0, true, Notice::Box, 29941, 5},          {1, 1, 0x0201, true, Notice::TextBox, 29943, 0},
      {1, 2, 0x0201, true, Notice::TextBox, 29946, 0}, {1, 0, 0, true, Notice::TextBox, 29947, 5},
      {1, 0, 0, false, Notice::SystemLine, 0, 0},
  };
  for (const auto& c : cases) {
    TrusteeshipResult r;
    r.mode = c.mode;
    r.counts = c.counts;
    auto n = TrusteeshipNotice(c.status, r, c.own);
    EXPECT_EQ(n.kind, c.kind) << c.status << "/" << c.mode;
    EXPECT_EQ(n.stringId, c.id) << c.status << "/" << c.mode;
    EXPECT_EQ(n.countdown, c.countdown) << c.status << "/" << c.mode;
  }
  TrusteeshipResult r;
  r.mode = 2;
  EXPECT_STREQ(TrusteeshipNotice(1, r, false).line, kLineTrustTimeout);
  r.counts = 0x0302;
  EXPECT_EQ(r.times(), 2);
  EXPECT_EQ(r.limit(), 3);
  EXPECT_TRUE(SameName("Alice", "aLICE"));
  EXPECT_FALSE(SameName("\xC4\xE3", "\xC4\xC3"));
}
