// What entering the table makes of the login reply: the seat table by view position,
// the table options, the watch block; kept free of windows so it can be tested alone.
#pragma once
#include <cstddef>
#include <cstdint>

const int MAX_TABLE_PLAYERS = 4;
const int TABLE_OPTION_COUNT = 7;
const size_t PLAYER_ENTRY_SIZE = 48;
const size_t WATCH_BLOCK_MIN = 44;

// Table options in the order the server sends them.
enum {
  OPT_OPTION1 = 0,      // stored, not used further
  OPT_SERIES,           // hands scored in series
  OPT_FOUR_STRAIGHT,    // four-player straight switch
  OPT_FOUR_TRIPLE_ONE,  // four-player triple-with-single switch
  OPT_TURN_TIME,        // seconds
  OPT_OPTION6,          // stored, not used further
  OPT_BASE_MULTIPLIER,
};

struct SEAT_ENTRY {
  uint16_t wServerSeat;
  char szUserName[20];
  char szNickName[20];
};

struct CHANNEL_STATE {
  int nPlayerCount = 0;
  int nOwnSeat = 0;  // server seat of the local player (or of the watched one)
  int nWatchMode = 0;
  int nWatchModeEntered = 0;                 // before the forced switch
  SEAT_ENTRY seats[MAX_TABLE_PLAYERS] = {};  // by view position; the local player is position 1
  int nGender[MAX_TABLE_PLAYERS] = {};       // by server seat; odd means female
  int nOptions[TABLE_OPTION_COUNT] = {2, 0, 0, 0, 60, 1, 1};
  uint32_t nSeriesValue = 0;
  uint32_t nHandNumber = 0;
  int nSeriesTotal[MAX_TABLE_PLAYERS] = {};  // by view position
  int nScoreTotal[MAX_TABLE_PLAYERS] = {};   // by view position
};

enum EnterChannelResult {
  ENTER_OK = 0,
  ENTER_BAD_SEAT,         // seat out of range: entering fails
  ENTER_BAD_PLAYERS,      // player list unusable: close, string 3005, fail
  ENTER_BAD_WATCH_BLOCK,  // watcher without a usable watch block: fail
};

// A server seat's view position: (count - own seat + 1 + seat) modulo count.
int SeatToViewPosition(int count, int ownSeat, int serverSeat);

// Up to seven decimal numbers separated by blanks or commas, read from at most len bytes
// (the text may end earlier at a zero); numbers left out keep their values in options.
void ParseTableOptions(const char* text, size_t len, int options[TABLE_OPTION_COUNT]);

// Everything entering the table decides after a successful login. launchSeat is the launch
// record's stored seat; a watch seat (4 to 7) is written back without its offset.
EnterChannelResult EnterChannelCore(int32_t& launchSeat, int32_t forceWatch, int playerCount, const uint8_t* players,
                                    size_t playersLen, const char* options, size_t optionsLen,
                                    const uint8_t* watchBlock, size_t watchLen, CHANNEL_STATE& state);
