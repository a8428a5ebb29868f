// The table data the lobby hands the client at start: the 496-byte launch record and
// the rules for reading it from the command line or from a file mapping's bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>

// Same layout in memory, in the lobby's file mapping and on every platform (little-endian).
struct GAME_LAUNCH_REC {
  int32_t nSeat;  // stored 0-based; 4 to 7 ask to watch seat 0 to 3
  char szUserName[20];
  char szNickName[20];
  char szRoomTitle[40];  // the window title
  uint16_t wLoginWord;   // passed on in the login
  char szLoginKey[40];
  char szServerHost[40];
  uint16_t wServerPort;
  char szTableText[256];  // kept, read nowhere
  char szChatHost[40];
  uint16_t wChatPort;
  char szChatColumnText[16];  // the chat user table's optional text column
  int32_t nChatColumnNumber;  // the chat user table's optional number column
  int32_t nForceWatch;        // non-zero: watch even from a playing seat
  int32_t nReserved;
};

static_assert(sizeof(GAME_LAUNCH_REC) == 496, "launch record size");
static_assert(offsetof(GAME_LAUNCH_REC, wLoginWord) == 84, "launch record layout");
static_assert(offsetof(GAME_LAUNCH_REC, szLoginKey) == 86, "launch record layout");
static_assert(offsetof(GAME_LAUNCH_REC, wServerPort) == 166, "launch record layout");
static_assert(offsetof(GAME_LAUNCH_REC, szTableText) == 168, "launch record layout");
static_assert(offsetof(GAME_LAUNCH_REC, szChatHost) == 424, "launch record layout");
static_assert(offsetof(GAME_LAUNCH_REC, wChatPort) == 464, "launch record layout");
static_assert(offsetof(GAME_LAUNCH_REC, szChatColumnText) == 466, "launch record layout");
static_assert(offsetof(GAME_LAUNCH_REC, nChatColumnNumber) == 484, "launch record layout");
static_assert(offsetof(GAME_LAUNCH_REC, nForceWatch) == 488, "launch record layout");

const size_t LAUNCH_REC_SIZE = sizeof(GAME_LAUNCH_REC);
const int LAUNCH_MAX_STORED_SEAT = 7;  // 0-3 play, 4-7 watch seat 0-3

// atol as the lobby's arguments expect it: leading blanks, optional sign, digits; 0 when none.
// Saturates instead of overflowing.
long LaunchAtol(const char* text);

// Copies text into a fixed field: at most size-1 bytes and a terminating zero.
void CopyLaunchText(char* field, size_t size, const char* text);

// Fills rec from the program's command line (argv[0] is the program): 14 or 15 entries.
// Returns false for any other count or for a seat or port out of range.
bool ParseLaunchArgs(int argc, const char* const* argv, GAME_LAUNCH_REC& rec);

// Fills rec from the bytes of a launch-record mapping (at least 496 bytes). Every text
// field is terminated inside itself; the seat is made 0-based. False when too short or
// the seat or a port is out of range.
bool ParseLaunchRecordBytes(const void* data, size_t size, GAME_LAUNCH_REC& rec);

// Seat (stored) 0 to 7 and both ports non-zero.
bool IsLaunchRecordValid(const GAME_LAUNCH_REC& rec);

// Reads the mapping named by its argument into 496 bytes; false when it cannot.
using LaunchMappingReader = std::function<bool(const char* name, unsigned char* out, size_t size)>;

// The command-line rule: 13 or 14 arguments, or one argument naming a file mapping.
bool ReadLaunchRecordFrom(int argc, const char* const* argv, const LaunchMappingReader& readMapping,
                          GAME_LAUNCH_REC& rec);
