// The ticket request: one MSG_USER_QUERY on a game-server connection of its own.
#pragma once
#include <windows.h>

#include "ServicesCore.h"

// 0 ticket received, 1 no connection, 2 empty host / port 0 / send failed, 3 no reply or its
// status is not 1 (TICKET_* codes).
int GetTicket(LPCSTR lpszHost, UINT nPort, LPCSTR lpszUserName, LPCSTR lpszText, TICKET_RESULT* pResult);
BOOL GetTicketOk(LPCSTR lpszHost, UINT nPort, LPCSTR lpszUserName, LPCSTR lpszText, TICKET_RESULT* pResult);
