// System messages between the client and the game server: the bodies the client
// builds and the bounds-checked reading of the ones it receives. No sockets here;
// CGameSocket sends and shows what these functions decide.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace sysmsg {

// Client to server.
constexpr uint32_t MSG_OPTION_FLAGS = 372;
constexpr uint32_t MSG_LOGIN = 512;
constexpr uint32_t MSG_KEEPALIVE = 513;
constexpr uint32_t MSG_QUIT = 514;
constexpr uint32_t MSG_QUIT_FORCED = 515;
constexpr uint32_t MSG_CLIENT_START = 520;
constexpr uint32_t MSG_TRUST_EXIT = 538;
constexpr uint32_t MSG_SERVER_DIALOG_REPLY = 0x80000230;
constexpr uint32_t MSG_LOCAL_PORT_REPLY = 0x80000231;
// Server to client.
constexpr uint32_t MSG_WIRE_CODE = 352;
constexpr uint32_t MSG_REGISTER_MPID = 417;
constexpr uint32_t MSG_NOTICE_BOX = 549;
constexpr uint32_t MSG_USER_CUT = 553;
constexpr uint32_t MSG_USER_BACK = 554;
constexpr uint32_t MSG_SET_STATE557 = 557;
constexpr uint32_t MSG_SERVER_DIALOG = 560;
constexpr uint32_t MSG_GET_LOCAL_PORT = 561;
constexpr uint32_t MSG_TEXT_BOX = 564;
constexpr uint32_t MSG_OWN_INFO = 580;
constexpr uint32_t MSG_TIP_WINDOW = 585;
constexpr uint32_t MSG_LOGIN_REPLY = 0x80000200;
constexpr uint32_t MSG_QUIT_NOTICE = 0x80000202;
constexpr uint32_t MSG_KICKED = 0x80000219;
constexpr uint32_t MSG_TRUST_EXIT_RESULT = 0x8000021A;
constexpr uint32_t MSG_TRUSTEESHIP_RESULT = 0x8000021B;
constexpr uint32_t MSG_STATE540 = 0x8000021C;
constexpr uint32_t MSG_WEALTH_RESULT = 0x80000233;
constexpr uint32_t MSG_FATAL = 0xFFFFFFFF;

// Names in system frames are 8-bit texts of at most this many bytes.
constexpr size_t kNameField = 20;

using Bytes = std::vector<uint8_t>;

// ---- bodies the client sends ----

// 108 bytes: user name[20], login key[40], room title[40], login word, seat, 3, 0, 0, 0.
Bytes BuildLoginBody(const std::string& userName, const std::string& loginKey, const std::string& roomTitle,
                     uint16_t loginWord, uint16_t seat);
Bytes BuildTrustExitBody(const std::string& ownName);
// 28 bytes: value, 0, the flags of types 1 to 3, 0, the flag of type 4. Types outside 1..4 set no flag.
Bytes BuildOptionFlagsBody(int type, uint32_t value);
// {echo, button, answer with its zero when an answer came back}.
Bytes BuildServerDialogReply(uint32_t echo, uint32_t button, const std::optional<std::string>& answer);
// {address, port in the low 16 bits}, both as getsockname gives them (network order bytes).
Bytes BuildLocalPortReply(const uint8_t addr[4], uint16_t portHostOrder);

// ---- the login reply ----

struct LoginPlayer {
  uint16_t seat = 0;
  uint16_t codePage = 0;  // of the nickname; 0 = the client's own
  std::string userName;
  std::string nickName;
  int32_t gender = 0;
  size_t nickOffset = 0;  // where the nickname field lies in the body (20 bytes)
};

struct LoginReply {
  enum Outcome { Accepted, IllegalUser, Unavailable } outcome = Unavailable;
  int32_t status = 0;
  bool negative = false;
  uint16_t playerCount = 0;
  uint16_t chatValue = 0;
  std::vector<LoginPlayer> players;
  bool complete = false;  // every announced entry and the options block lie inside the body
  Bytes options;          // the table options text (zero-terminated inside)
  Bytes watch;            // the watch block; empty when absent
};

// Reads a login reply (header status, body). Low byte 1 = accepted, 4 = illegal user
// (box 29915), anything else = unavailable (box 29914).
LoginReply ParseLoginReply(uint32_t status, const uint8_t* body, size_t size);

// The player list a table can be entered with: 3 or 4 players, all entries read,
// every seat below the count and none twice.
bool ValidatePlayerList(const LoginReply& reply);

// Writes a converted nickname back into its 20-byte field: at most 19 bytes, cut on a
// character boundary of the double-byte code page, zero-filled.
void WriteNicknameField(uint8_t* field, const std::string& converted);

// ---- server notices and questions ----

struct NoticeBox {
  int32_t textId = -1;  // -1 no box, > 0 a language-resource text, 0 the inline text
  uint32_t style = 0;
  int32_t urlButton = 0;
  int32_t urlFlag = -1;
  int32_t closeFlag = 0;
  int32_t endFlag = 0;
  uint32_t codePage = 936;  // of the inline text
  std::string text;
  std::string url;
};
std::optional<NoticeBox> ParseNoticeBox(const uint8_t* body, size_t size);
// Whether the URL opens: allowed (no box, or the box returned urlButton), flagged, non-empty, a web address.
bool NoticeOpensUrl(const NoticeBox& n, bool boxShown, int boxResult);

struct ServerDialog {
  uint32_t echo = 0;
  uint32_t style = 0;
  uint32_t countdown = 0;
  uint32_t inputFlag = 0;
  std::string text;
};
// nullopt for a body of 16 bytes or less: nothing is shown and nothing answered.
std::optional<ServerDialog> ParseServerDialog(const uint8_t* body, size_t size);

struct TextBox {
  int32_t stringId = 0;
  uint32_t style = 0;
  uint32_t countdown = 0;
  std::string text;
};
std::optional<TextBox> ParseTextBox(const uint8_t* body, size_t size);

// MSG_OWN_INFO: 44 bytes beginning with a name.
constexpr size_t kOwnInfoSize = 44;
std::optional<std::string> OwnInfoName(const uint8_t* body, size_t size);

struct TipWindow {
  std::string title;  // char[128]
  std::string url;    // char[512]
  int32_t first = 0, second = 0;
};
std::optional<TipWindow> ParseTipWindow(const uint8_t* body, size_t size);

// A name-only body (cut, back, quit notice, fatal): the text up to its zero, at most 20 bytes.
std::optional<std::string> ParseName(const uint8_t* body, size_t size);

struct TrusteeshipResult {
  uint16_t mode = 0;
  uint16_t counts = 0;  // low byte times, high byte limit
  std::string name;
  int times() const { return counts & 0xFF; }
  int limit() const { return counts >> 8; }
};
std::optional<TrusteeshipResult> ParseTrusteeshipResult(const uint8_t* body, size_t size);

struct WealthRow {
  std::string name;
  int32_t chatValue = 0;
  int32_t shown = 0;
};
std::vector<WealthRow> ParseWealthRows(const uint8_t* body, size_t size);

struct WireCode {
  uint32_t sendState = 0, recvState = 0;
  Bytes sendBlock, recvBlock;
};
// nullopt when the lengths do not fit the body.
std::optional<WireCode> ParseWireCode(const uint8_t* body, size_t size);

// ---- decisions ----

// MSG_FATAL: the close reason and the string to show (29918 for the own room compares the
// name exactly).
struct FatalOutcome {
  int closeReason;
  int stringId;
  bool withName;
};
FatalOutcome MapFatal(uint32_t code, const std::string& name, const std::string& ownName);

// What a trusteeship result shows.
struct Notice {
  enum Kind { None, Box, TextBox, SystemLine } kind = None;
  int stringId = 0;            // Box / TextBox with a string of the resource library
  const char* line = nullptr;  // SystemLine: format with the name
  int countdown = 0;
  uint32_t style = 0;
  bool onlyWhenVisible = false;
};
Notice TrusteeshipNotice(uint32_t status, const TrusteeshipResult& r, bool ownName);

// Names compare case-insensitively (ASCII letters only; GBK bytes as they stand).
bool SameName(const std::string& a, const std::string& b);

}  // namespace sysmsg
