// The table of (message id, handler) pairs through which received game messages reach
// the document: at most 100 entries, kept in registration order, first match wins.
#pragma once
#include <cstdint>

template <class Owner>
class CMessageHandlerTable {
 public:
  typedef int (Owner::*Handler)(const uint8_t* pFrame);
  enum { MAX_HANDLERS = 100 };

  void SetUserData(Owner* pOwner) { m_pUserData = pOwner; }
  Owner* GetUserData() const { return m_pUserData; }

  // Refuses (0) once full; never looks for an earlier entry with the same id.
  int AddHandler(uint32_t nId, Handler pfn) {
    if (m_nCount >= MAX_HANDLERS) return 0;
    m_Ids[m_nCount] = nId;
    m_Handlers[m_nCount] = pfn;
    ++m_nCount;
    return 1;
  }
  int GetCount() const { return m_nCount; }
  uint32_t GetId(int i) const { return m_Ids[i]; }

  Handler Find(uint32_t nId) const {
    for (int i = 0; i < m_nCount; ++i)
      if (m_Ids[i] == nId) return m_Handlers[i];
    return nullptr;
  }

  // Calls the first handler registered for the frame's id; false when none is.
  bool Dispatch(uint32_t nId, const uint8_t* pFrame) const {
    Handler pfn = Find(nId);
    if (!pfn || !m_pUserData) return false;
    (m_pUserData->*pfn)(pFrame);
    return true;
  }

 private:
  Owner* m_pUserData = nullptr;
  int m_nCount = 0;
  uint32_t m_Ids[MAX_HANDLERS] = {};
  Handler m_Handlers[MAX_HANDLERS] = {};
};
