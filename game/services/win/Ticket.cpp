// The socket brings winsock2 ahead of windows.h.
#include "GameSocket.h"
#include "NetFrame.h"
#include "Ticket.h"

#include <memory>

int GetTicket(LPCSTR lpszHost, UINT nPort, LPCSTR lpszUserName, LPCSTR lpszText, TICKET_RESULT* pResult) {
  if (!lpszHost || !*lpszHost || nPort == 0) return TICKET_BAD_REQUEST;
  std::unique_ptr<CGameSocket> sock(new CGameSocket);
  // Nothing of this short exchange asks the player anything.
  if (!sock->Connect(lpszHost, nPort, FALSE)) {
    sock->Close();
    return TICKET_NO_CONNECTION;
  }
  std::vector<uint8_t> body = BuildUserQueryBody(lpszUserName, lpszText);
  BYTE* reply = nullptr;
  int sent = sock->SendMsg(MSG_USER_QUERY_ID, body.data(), body.size(), &reply);
  int code;
  if (!sent && !reply) {
    // A send that went out but got no answer is a missing reply, not a failed send.
    int err = sock->GetLastErrorCode();
    code = (err == netcore::NETERR_TIMEDOUT || err == netcore::NETERR_REPLY_WAIT || err == netcore::NETERR_SELF_CLOSED)
               ? TICKET_BAD_REPLY
               : TICKET_BAD_REQUEST;
  } else if (!reply) {
    code = TICKET_BAD_REPLY;
  } else {
    netcore::NET_MSG_HEADER h;
    netcore::DecodeHeader(reply, netcore::NET_LONG_HEADER, &h);
    size_t total = netcore::HeaderSizeForId(h.id) + size_t(h.length);
    code = ParseTicketReply(reply, total, pResult);
    CGameSocket::FreeFrame(reply);
  }
  sock->Close();
  return code;
}

BOOL GetTicketOk(LPCSTR lpszHost, UINT nPort, LPCSTR lpszUserName, LPCSTR lpszText, TICKET_RESULT* pResult) {
  return GetTicket(lpszHost, nPort, lpszUserName, lpszText, pResult) == TICKET_OK;
}
