#include "VeskSocket.h"

void CVeskSocket::RegisterDocument(CGameDocCore* pDoc) {
  m_pCallbackData = pDoc;
  m_pfnClose = &CGameDocCore::OnServerClose;
  m_pfnUserCut = &CGameDocCore::OnPlayerCut;
  m_pfnUserBack = &CGameDocCore::OnPlayerBack;
  m_bPassOnUserCut = m_bPassOnUserBack = 0;
  m_pfnTrusteeship = &CGameDocCore::OnTrusteeship;
  m_pfnTrustExit = &CGameDocCore::OnUserTrustExit;
  m_pfnServerEnd = &CGameDocCore::OnServerClose;
  if (pDoc) pDoc->RegisterMessageHandlers(m_handlers);
  // A document that goes away takes its handlers' target with it: frames still queued in
  // the socket must find no document rather than a freed one.
  else
    m_handlers.SetUserData(nullptr);
}

int CVeskSocket::OnMessage(BYTE* pFrame) {
  if (CConnectionManager::OnMessage(pFrame)) return 1;
  uint32_t id = netcore::ReadU32(pFrame);
  HANDLER pfn = m_handlers.Find(id);
  CGameDocCore* doc = m_handlers.GetUserData();
  if (!pfn || !doc) return 0;
  // No handler runs nested inside another through this socket, even across boxes and waits.
  SuspendNotifications();
  (doc->*pfn)(pFrame);
  ResumeNotifications();
  return 1;
}

void CVeskSocket::OnClose(int nErrorCode) {
  int schedule = 0;
  if (m_bCrashReportOn && m_docState && m_docState(&schedule) && m_closeLogSink)
    m_closeLogSink(MakeSocketCloseLog(nErrorCode, m_nCloseReason, schedule));
  int reason = m_nCloseReason;
  m_nCloseReason = 0;
  CConnectionManager::OnClose(nErrorCode);
  if (m_pfnClose && m_pCallbackData) (m_pCallbackData->*m_pfnClose)(reason);
}

void CVeskSocket::OnServerEnd(int nCode) {
  if (m_pfnServerEnd && m_pCallbackData)
    (m_pCallbackData->*m_pfnServerEnd)(nCode);
  else
    CConnectionManager::OnServerEnd(nCode);
}

int CVeskSocket::OnUserCut(BYTE* pFrame) {
  if (!m_pfnUserCut || !m_pCallbackData) return CConnectionManager::OnUserCut(pFrame);
  if (m_bPassOnUserCut) CConnectionManager::OnUserCut(pFrame);
  return (m_pCallbackData->*m_pfnUserCut)(pFrame);
}

int CVeskSocket::OnUserBack(BYTE* pFrame) {
  if (!m_pfnUserBack || !m_pCallbackData) return CConnectionManager::OnUserBack(pFrame);
  if (m_bPassOnUserBack) CConnectionManager::OnUserBack(pFrame);
  return (m_pCallbackData->*m_pfnUserBack)(pFrame);
}

int CVeskSocket::OnTrusteeship(BYTE* pFrame) {
  return m_pfnTrusteeship && m_pCallbackData ? (m_pCallbackData->*m_pfnTrusteeship)(pFrame) : 0;
}

int CVeskSocket::OnUserTrustExit(BYTE* pFrame) {
  return m_pfnTrustExit && m_pCallbackData ? (m_pCallbackData->*m_pfnTrustExit)(pFrame) : 0;
}
