#include "ChatSetup.h"

#include <cstring>

#include "ChatUserTable.h"
#include "LobbyLinks.h"
#include "QKCtrls.h"

namespace {
std::string LoadText(UINT id) {
  CString s;
  if (id) s.LoadString(id);
  return std::string((LPCSTR)s);
}
std::string Field(const char* text, size_t size) { return std::string(text, strnlen(text, size)); }
}  // namespace

void SetupChatControl(CQKChatEx* pChat, UINT idA, UINT idB, LPCSTR watched, long loginValue) {
  if (!pChat || !pChat->GetSafeHwnd()) return;
  const GAME_LAUNCH_REC& rec = g_LaunchRec;
  pChat->Invoke57(TRUE);
  pChat->SetServerHost(Field(rec.szChatHost, sizeof rec.szChatHost).c_str());
  pChat->SetServerPort((short)rec.wChatPort);
  pChat->Invoke35();

  CHAT_TABLE_LAYOUT layout;
  layout.bColumnA = idA != 0;
  layout.bColumnB = idB != 0;
  layout.bWatched = watched && watched[0];
  std::vector<uint32_t> widths = ChatTableWidths(layout);
  std::vector<std::string> titles = {LoadText(29923), LoadText(29924)};
  if (layout.bColumnA) titles.push_back(LoadText(idA));
  if (layout.bColumnB) titles.push_back(LoadText(idB));
  if (layout.bWatched) titles.push_back(LoadText(29927));
  std::vector<std::string> row =
      ChatOwnRow(layout, Field(rec.szUserName, sizeof rec.szUserName), Field(rec.szNickName, sizeof rec.szNickName),
                 Field(rec.szChatColumnText, sizeof rec.szChatColumnText), (int)rec.nChatColumnNumber,
                 layout.bWatched ? std::string(watched) : std::string());
  std::vector<uint8_t> titleBlock = BuildChatUserTable(widths, titles), rowBlock = BuildChatUserTable(widths, row);
  pChat->Invoke49((LONG_PTR)titleBlock.data(), (long)titleBlock.size());
  pChat->Invoke47((LONG_PTR)rowBlock.data(), (long)rowBlock.size(),
                  Field(rec.szLoginKey, sizeof rec.szLoginKey).c_str(), nullptr, nullptr, loginValue, 0);
}
