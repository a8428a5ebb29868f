// The application's game-server socket: the table of (message id, handler) pairs through
// which game messages reach the document, and the callbacks that pass the base classes'
// handling of cut, back, trusteeship, trust exit, server end and close on to it.
#pragma once
#include <functional>

#include "ConnectionManager.h"
#include "GameDocCore.h"
#include "MessageHandlerTable.h"
#include "SocketCloseLog.h"

class CVeskSocket : public CConnectionManager {
 public:
  typedef int (CGameDocCore::*HANDLER)(const uint8_t* pFrame);
  typedef int (CGameDocCore::*REASONCALLBACK)(int nValue);

  CVeskSocket() = default;
  ~CVeskSocket() override = default;

  // 0 once 100 entries are held; an id may be added twice (the first one wins).
  int AddHandler(uint32_t nId, HANDLER pfn) { return m_handlers.AddHandler(nId, pfn); }
  void SetHandlerUserData(CGameDocCore* pDoc) { m_handlers.SetUserData(pDoc); }
  CMessageHandlerTable<CGameDocCore>& Handlers() { return m_handlers; }
  int GetHandlerCount() const { return m_handlers.GetCount(); }

  // The document's registration: callbacks and the 27 game messages in their order.
  void RegisterDocument(CGameDocCore* pDoc);

  // Callback slots (null: the base's handling).
  REASONCALLBACK m_pfnClose = nullptr;
  REASONCALLBACK m_pfnServerEnd = nullptr;
  HANDLER m_pfnUserCut = nullptr;
  HANDLER m_pfnUserBack = nullptr;
  HANDLER m_pfnTrusteeship = nullptr;
  HANDLER m_pfnTrustExit = nullptr;
  CGameDocCore* m_pCallbackData = nullptr;
  int m_bPassOnUserCut = 0;
  int m_bPassOnUserBack = 0;

  // The remote-log line of a closing connection: sent when the crash-report switch is on and
  // docState gives the document's phase (it returns false for a quiet close or no document).
  typedef std::function<bool(int* pSchedule)> DOCSTATE;
  typedef std::function<void(const SocketCloseLog& line)> CLOSELOGSINK;
  void SetCloseLog(BOOL bCrashReportOn, DOCSTATE docState, CLOSELOGSINK sink) {
    m_bCrashReportOn = bCrashReportOn;
    m_docState = std::move(docState);
    m_closeLogSink = std::move(sink);
  }

  int OnMessage(BYTE* pFrame) override;
  void OnClose(int nErrorCode) override;
  void OnServerEnd(int nCode) override;
  int OnUserCut(BYTE* pFrame) override;
  int OnUserBack(BYTE* pFrame) override;
  int OnTrusteeship(BYTE* pFrame) override;
  int OnUserTrustExit(BYTE* pFrame) override;

 private:
  CMessageHandlerTable<CGameDocCore> m_handlers;
  BOOL m_bCrashReportOn = FALSE;
  DOCSTATE m_docState;
  CLOSELOGSINK m_closeLogSink;
};
