// Configures the chat control for the table from the launch record: server, column
// titles and the player's own row.
#pragma once
#include <afxwin.h>

class CQKChatEx;

// idA / idB: string ids of the optional column titles (0: no column); watched: the watched
// player's user name while watching (empty or null: no column); loginValue: the login
// reply's value the chat server expects back.
void SetupChatControl(CQKChatEx* pChat, UINT idA, UINT idB, LPCSTR watched, long loginValue);
