// The connection host's socket answered from a script beside the program, so start-up can
// be driven past the login without a server. scripted_table.ini:
//   [Login] Result=1, Players=3, Entry0..Entry7="seat,user,nick,gender", Options="2,1,0,0,30",
//   WatchSize=44 (zero-filled watch block of that size);
//   [Arrive] Progress=ms: MSG_GAME_PROGRESS reaches the handlers that long after start-up resumed;
//   Deal=ms: MSG_DEAL with seventeen cards for every hand, seat 0 bidding first.
// Every call is appended to scripted_calls.txt beside the program.
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "GameDocCore.h"
#include "MessageHandlerTable.h"
#include "TableConnection.h"

namespace {

std::string Beside(const char* name) {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path, n);
  return p.substr(0, p.find_last_of('\\') + 1) + name;
}

void Note(const char* call) {
  FILE* f = fopen(Beside("scripted_calls.txt").c_str(), "ab");
  if (!f) return;
  fprintf(f, "%s\n", call);
  fclose(f);
}

CMessageHandlerTable<CGameDocCore>& Handlers() {
  static CMessageHandlerTable<CGameDocCore> table;
  return table;
}

void PutU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

class CTableConnection::CLink {};

CTableConnection::CTableConnection() = default;
CTableConnection::~CTableConnection() = default;

CTableConnection::CLink& CTableConnection::Link() {
  if (!m_pLink) m_pLink.reset(new CLink);
  return *m_pLink;
}

BOOL CTableConnection::Login(const GAME_LAUNCH_REC&, TABLE_LOGIN& login) {
  Note("login");
  std::string ini = Beside("scripted_table.ini");
  if (!GetPrivateProfileIntA("Login", "Result", 0, ini.c_str())) return FALSE;
  login.nPlayerCount = static_cast<int>(GetPrivateProfileIntA("Login", "Players", 3, ini.c_str()));
  for (int i = 0; i < 8; ++i) {
    char key[16], text[128] = "";
    snprintf(key, sizeof key, "Entry%d", i);
    GetPrivateProfileStringA("Login", key, "", text, sizeof text, ini.c_str());
    if (!text[0]) continue;
    unsigned seat = 0;
    int gender = 0;
    char user[64] = "", nick[64] = "";
    if (sscanf(text, "%u,%63[^,],%63[^,],%d", &seat, user, nick, &gender) < 3) continue;
    uint8_t entry[48] = {};
    PutU32(entry, seat);
    memcpy(entry + 4, user, strnlen(user, 19));
    memcpy(entry + 24, nick, strnlen(nick, 19));
    PutU32(entry + 44, static_cast<uint32_t>(gender));
    login.players.insert(login.players.end(), entry, entry + sizeof entry);
  }
  char options[128] = "";
  GetPrivateProfileStringA("Login", "Options", "", options, sizeof options, ini.c_str());
  if (options[0]) login.options.assign(options, options + strlen(options) + 1);
  UINT watch = GetPrivateProfileIntA("Login", "WatchSize", 0, ini.c_str());
  if (watch > 0 && watch < 4096) login.watch.assign(watch, 0);
  return TRUE;
}

void CTableConnection::Close() { Note("close"); }
void CTableConnection::QuitAndClose() { Note("quit"); }
void CTableConnection::QuitForcedAndClose() { Note("quit forced"); }
void CTableConnection::Suspend() { Note("suspend"); }
namespace {
void CALLBACK DeliverProgress(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  Note("arrive progress");
  // Reply form: id, body length, status.
  uint8_t frame[12] = {};
  PutU32(frame, 0x80012002);
  Handlers().Dispatch(0x80012002, frame);
}
}  // namespace

namespace {
void CALLBACK DeliverDeal(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  Note("arrive deal");
  const int kCards = 17;
  std::vector<uint8_t> frame(8 + 48 + kCards, 0);
  PutU32(&frame[0], 0x20C);
  PutU32(&frame[4], 48 + kCards);
  uint8_t* body = &frame[8];
  for (int i = 0; i < 4; ++i) PutU32(body + 4 * i, 1);  // every seat may be watched
  PutU32(body + 44, 3);                                 // three bottom cards
  const uint8_t codes[kCards] = {0, 13, 26, 39, 1, 14, 27, 5, 18, 31, 44, 11, 24, 12, 25, 52, 53};
  memcpy(body + 48, codes, kCards);
  Handlers().Dispatch(0x20C, frame.data());
}
}  // namespace

void CTableConnection::Resume() {
  Note("resume");
  std::string ini = Beside("scripted_table.ini");
  UINT ms = GetPrivateProfileIntA("Arrive", "Progress", 0, ini.c_str());
  if (ms) SetTimer(nullptr, 0, ms, DeliverProgress);
  ms = GetPrivateProfileIntA("Arrive", "Deal", 0, ini.c_str());
  if (ms) SetTimer(nullptr, 0, ms, DeliverDeal);
}
BOOL CTableConnection::SendClientStart() {
  Note("client start");
  return TRUE;
}
uint32_t CTableConnection::OptionFlags() { return 1; }
// The scripted table has ended its connection: closing asks and quits.
BOOL CTableConnection::IsConnected() { return FALSE; }
BOOL CTableConnection::IsTrustExitDone() { return FALSE; }
BOOL CTableConnection::IsEnded() { return TRUE; }
BOOL CTableConnection::IsEndedByServer() { return FALSE; }
void CTableConnection::RequestTrustExit() { Note("trust exit"); }
BOOL CTableConnection::SendOptionFlags(int, DWORD) { return TRUE; }
int CTableConnection::IdleSeconds() { return 120; }
void CTableConnection::SendKeepAlive() { Note("keep-alive"); }
// No connection manager behind the scripted table: its log has nowhere to go.
void CTableConnection::WriteConnectionLog(const char*) {}

bool CTableConnection::SendFrame(const std::vector<uint8_t>&) {
  Note("send");
  return true;
}

void CTableConnection::AttachDocument(CGameDocCore* pDoc) {
  Note("register document");
  m_pDoc = pDoc;
  Handlers().SetUserData(pDoc);
  if (pDoc) pDoc->RegisterMessageHandlers(Handlers());
}

void CTableConnection::SetCloseLog(BOOL) {}

const char* CTableConnection::MissingHook() { return nullptr; }

BOOL CTableConnection::InitSockets() {
  WSADATA data;
  return WSAStartup(MAKEWORD(2, 2), &data) == 0;
}
