// The document with its state open to tests: a test sets up a table directly and reads what
// a message changed, where the program goes through the document's operations and readers.
#pragma once
#include "GameDocCore.h"

class CTestDoc : public CGameDocCore {
 public:
  using CGameDocCore::CGameDocCore;
  using CGameDocCore::m_bFlyMsg;
  using CGameDocCore::m_bFreeLead;
  using CGameDocCore::m_bOrder;
  using CGameDocCore::m_bOwnTrusteeship;
  using CGameDocCore::m_bPlaySent;
  using CGameDocCore::m_bSound;
  using CGameDocCore::m_bTurnClockEnabled;
  using CGameDocCore::m_bVoice;
  using CGameDocCore::m_Hands;
  using CGameDocCore::m_LastPlays;
  using CGameDocCore::m_nDeclarerSeat;
  using CGameDocCore::m_nMultiplier;
  using CGameDocCore::m_nPrevPlayCount;
  using CGameDocCore::m_nShowOrder;
  using CGameDocCore::m_nTurnPosition;
  using CGameDocCore::m_Seats;
  using CGameDocCore::m_szHostName;
};
