// Game messages exchanged at a table and the frame header they travel in.
#pragma once
#include <cstddef>
#include <cstdint>

enum : uint32_t {
  MSG_READY = 0x8000020A,
  MSG_DEAL = 0x20C,
  MSG_BID = 0x12008,
  MSG_BOTTOM_CARDS = 0x12009,
  MSG_PLAY = 0x12010,
  MSG_SHOW_CARDS = 0x12011,
  MSG_SHOW_CARDS_REPLY = 0x80012011,
  MSG_SEAT_VALUES = 0x80012012,
  MSG_PAUSE = 0x12013,
  MSG_GAME_PROGRESS = 0x80012002,
  MSG_WATCH_PERMISSION = 0x214,
  MSG_ASK_WATCH_PERMISSION = 0x217,
  MSG_NOTICE = 0x206,
  MSG_AD_RECORD = 0x205,
  MSG_ACTION_ERROR = 0x80000212,
  MSG_HAND_OVER = 0x215,
  MSG_LEAVE_REQUEST = 0x20E,
  MSG_LEAVE_ANSWER = 0x20F,
  MSG_LEAVE_CONFIRM = 0x211,
  MSG_TIMEOUT = 0x216,
  MSG_TRUSTEESHIP = 0x21B,
  MSG_PLAYER_STATES = 0x8000022B,
  MSG_COMPLAINT_PROMPT = 0x80012047,
  MSG_COMPLAINT_RESULT = 0x80012049,
  MSG_COMPLAINT_UPDATE = 0x245,
  MSG_COMPLAINT = 0x3301,
  MSG_COMPLAINT_DECLINE = 0x12048,
  MSG_NET_SKIN_DATA = 0x248,
  MSG_BUTTON_TEXT = 0x1201F,
  MSG_TABLE_INFO = 0x12050,
  MSG_SEAT_FLAGS = 0x12051,
  MSG_HOST_NAME = 0x80012052,
  MSG_PANEL_DATA = 0x80012053,
  MSG_USER_QUERY = 0x65B,
};

// A complete frame as the socket hands it on: the header (id, body length and, for
// ids with bit 31, a status word) directly followed by the whole body.
struct GameFrame {
  uint32_t id = 0;
  uint32_t status = 0;
  const uint8_t* body = nullptr;
  size_t size = 0;
};

// Reads the header of a complete frame; the socket guarantees the body it announces.
GameFrame ParseGameFrame(const uint8_t* pFrame);

// Builds a frame: header (12 bytes with a zero status for ids with bit 31) and body.
size_t GameFrameHeaderSize(uint32_t id);
