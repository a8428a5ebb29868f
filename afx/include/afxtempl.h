// Collection templates: CArray, CList, CMap and their typed-pointer wrappers.
#pragma once

#include "afx.h"
#include <new>
#include <utility>

template <class TYPE>
inline void AFXAPI ConstructElements(TYPE* pElements, INT_PTR nCount) {
  for (INT_PTR i = 0; i < nCount; i++) ::new ((void*)(pElements + i)) TYPE();
}
template <class TYPE>
inline void AFXAPI DestructElements(TYPE* pElements, INT_PTR nCount) {
  for (INT_PTR i = 0; i < nCount; i++) pElements[i].~TYPE();
}
template <class TYPE, class ARG_TYPE>
inline BOOL AFXAPI CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2) {
  return *pElement1 == *pElement2;
}
template <class ARG_KEY>
inline UINT AFXAPI HashKey(ARG_KEY key) {
  return (UINT)(((DWORD_PTR)key) >> 4);
}
UINT AFXAPI AfxHashString(LPCSTR key);
template <>
inline UINT AFXAPI HashKey<LPCSTR>(LPCSTR key) {
  return AfxHashString(key);
}
template <>
inline UINT AFXAPI HashKey<LPSTR>(LPSTR key) {
  return AfxHashString(key);
}
template <>
inline UINT AFXAPI HashKey<const CString&>(const CString& key) {
  return AfxHashString(key);
}
template <>
inline UINT AFXAPI HashKey<CString>(CString key) {
  return AfxHashString(key);
}
template <>
inline UINT AFXAPI HashKey<CString&>(CString& key) {
  return AfxHashString(key);
}

///////////////////////////////////////////////////////////////////////////////

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
 public:
  CArray() : m_pData(nullptr), m_nSize(0), m_nMaxSize(0), m_nGrowBy(0) {}
  ~CArray() override { RemoveAll(); }

  INT_PTR GetSize() const { return m_nSize; }
  INT_PTR GetCount() const { return m_nSize; }
  BOOL IsEmpty() const { return m_nSize == 0; }
  INT_PTR GetUpperBound() const { return m_nSize - 1; }
  // nGrowBy -1 keeps the current grow step; 0 lets the array pick one.
  void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1);
  void FreeExtra();
  void RemoveAll() { SetSize(0, -1); }

  const TYPE& GetAt(INT_PTR nIndex) const {
    CheckIndex(nIndex);
    return m_pData[nIndex];
  }
  TYPE& GetAt(INT_PTR nIndex) {
    CheckIndex(nIndex);
    return m_pData[nIndex];
  }
  void SetAt(INT_PTR nIndex, ARG_TYPE newElement) {
    CheckIndex(nIndex);
    m_pData[nIndex] = newElement;
  }
  const TYPE& ElementAt(INT_PTR nIndex) const {
    CheckIndex(nIndex);
    return m_pData[nIndex];
  }
  TYPE& ElementAt(INT_PTR nIndex) {
    CheckIndex(nIndex);
    return m_pData[nIndex];
  }
  const TYPE* GetData() const { return m_pData; }
  TYPE* GetData() { return m_pData; }

  void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement);
  INT_PTR Add(ARG_TYPE newElement) {
    INT_PTR nIndex = m_nSize;
    SetAtGrow(nIndex, newElement);
    return nIndex;
  }
  INT_PTR Append(const CArray& src);
  void Copy(const CArray& src);

  const TYPE& operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
  TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }

  void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1);
  void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1);
  void InsertAt(INT_PTR nStartIndex, CArray* pNewArray);

 protected:
  TYPE* m_pData;
  INT_PTR m_nSize;
  INT_PTR m_nMaxSize;
  INT_PTR m_nGrowBy;

  void CheckIndex(INT_PTR nIndex) const {
    if (nIndex < 0 || nIndex >= m_nSize) AfxThrowInvalidArgException();
  }
};

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetSize(INT_PTR nNewSize, INT_PTR nGrowBy) {
  if (nNewSize < 0) AfxThrowInvalidArgException();
  if (nGrowBy >= 0) m_nGrowBy = nGrowBy;
  if (nNewSize == 0) {
    if (m_pData) {
      DestructElements(m_pData, m_nSize);
      ::operator delete((void*)m_pData);
      m_pData = nullptr;
    }
    m_nSize = m_nMaxSize = 0;
    return;
  }
  if (nNewSize <= m_nMaxSize) {
    if (nNewSize > m_nSize)
      ConstructElements(m_pData + m_nSize, nNewSize - m_nSize);
    else if (m_nSize > nNewSize)
      DestructElements(m_pData + nNewSize, m_nSize - nNewSize);
    m_nSize = nNewSize;
    return;
  }
  INT_PTR nGrow = m_nGrowBy;
  if (nGrow == 0) {
    nGrow = m_nSize / 8;
    nGrow = (nGrow < 4) ? 4 : ((nGrow > 1024) ? 1024 : nGrow);
  }
  INT_PTR nNewMax = (nNewSize < m_nMaxSize + nGrow) ? m_nMaxSize + nGrow : nNewSize;
  if ((size_t)nNewMax > (size_t)-1 / sizeof(TYPE)) AfxThrowMemoryException();
  TYPE* pNewData = static_cast<TYPE*>(::operator new(nNewMax * sizeof(TYPE), std::nothrow));
  if (!pNewData) AfxThrowMemoryException();
  for (INT_PTR i = 0; i < m_nSize; i++) {
    ::new ((void*)(pNewData + i)) TYPE(std::move(m_pData[i]));
    m_pData[i].~TYPE();
  }
  ConstructElements(pNewData + m_nSize, nNewSize - m_nSize);
  ::operator delete((void*)m_pData);
  m_pData = pNewData;
  m_nSize = nNewSize;
  m_nMaxSize = nNewMax;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::FreeExtra() {
  if (m_nSize == m_nMaxSize) return;
  TYPE* pNewData = nullptr;
  if (m_nSize != 0) {
    pNewData = static_cast<TYPE*>(::operator new(m_nSize * sizeof(TYPE)));
    for (INT_PTR i = 0; i < m_nSize; i++) {
      ::new ((void*)(pNewData + i)) TYPE(std::move(m_pData[i]));
      m_pData[i].~TYPE();
    }
  }
  ::operator delete((void*)m_pData);
  m_pData = pNewData;
  m_nMaxSize = m_nSize;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement) {
  if (nIndex < 0) AfxThrowInvalidArgException();
  if (nIndex >= m_nSize) {
    TYPE copy(newElement);  // newElement may live inside this array
    SetSize(nIndex + 1, -1);
    m_pData[nIndex] = std::move(copy);
    return;
  }
  m_pData[nIndex] = newElement;
}

template <class TYPE, class ARG_TYPE>
INT_PTR CArray<TYPE, ARG_TYPE>::Append(const CArray& src) {
  if (this == &src) AfxThrowInvalidArgException();
  INT_PTR nOldSize = m_nSize;
  SetSize(m_nSize + src.m_nSize, -1);
  for (INT_PTR i = 0; i < src.m_nSize; i++) m_pData[nOldSize + i] = src.m_pData[i];
  return nOldSize;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Copy(const CArray& src) {
  if (this == &src) return;
  SetSize(src.m_nSize, -1);
  for (INT_PTR i = 0; i < src.m_nSize; i++) m_pData[i] = src.m_pData[i];
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount) {
  if (nIndex < 0 || nCount <= 0) AfxThrowInvalidArgException();
  TYPE copy(newElement);
  if (nIndex >= m_nSize) {
    SetSize(nIndex + nCount, -1);
  } else {
    INT_PTR nOldSize = m_nSize;
    SetSize(m_nSize + nCount, -1);
    for (INT_PTR i = nOldSize - 1; i >= nIndex; i--) m_pData[i + nCount] = std::move(m_pData[i]);
  }
  for (INT_PTR i = 0; i < nCount; i++) m_pData[nIndex + i] = copy;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::RemoveAt(INT_PTR nIndex, INT_PTR nCount) {
  if (nIndex < 0 || nCount < 0 || nIndex > m_nSize - nCount) AfxThrowInvalidArgException();
  for (INT_PTR i = nIndex; i + nCount < m_nSize; i++) m_pData[i] = std::move(m_pData[i + nCount]);
  DestructElements(m_pData + m_nSize - nCount, nCount);
  m_nSize -= nCount;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR nStartIndex, CArray* pNewArray) {
  if (pNewArray == nullptr || nStartIndex < 0 || pNewArray == this) AfxThrowInvalidArgException();
  if (pNewArray->GetSize() > 0) {
    InsertAt(nStartIndex, pNewArray->GetAt(0), pNewArray->GetSize());
    for (INT_PTR i = 0; i < pNewArray->GetSize(); i++) SetAt(nStartIndex + i, pNewArray->GetAt(i));
  }
}

///////////////////////////////////////////////////////////////////////////////

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
 protected:
  struct CNode {
    CNode* pNext;
    CNode* pPrev;
    TYPE data;
    explicit CNode(ARG_TYPE d) : pNext(nullptr), pPrev(nullptr), data(d) {}
    CNode() : pNext(nullptr), pPrev(nullptr), data() {}
  };

 public:
  explicit CList(INT_PTR nBlockSize = 10)
      : m_pNodeHead(nullptr), m_pNodeTail(nullptr), m_nCount(0), m_nBlockSize(nBlockSize) {}
  ~CList() override { RemoveAll(); }

  INT_PTR GetCount() const { return m_nCount; }
  INT_PTR GetSize() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }

  TYPE& GetHead() {
    Check(m_pNodeHead);
    return m_pNodeHead->data;
  }
  const TYPE& GetHead() const {
    Check(m_pNodeHead);
    return m_pNodeHead->data;
  }
  TYPE& GetTail() {
    Check(m_pNodeTail);
    return m_pNodeTail->data;
  }
  const TYPE& GetTail() const {
    Check(m_pNodeTail);
    return m_pNodeTail->data;
  }

  TYPE RemoveHead() {
    CNode* p = m_pNodeHead;
    Check(p);
    TYPE ret(std::move(p->data));
    m_pNodeHead = p->pNext;
    if (m_pNodeHead)
      m_pNodeHead->pPrev = nullptr;
    else
      m_pNodeTail = nullptr;
    FreeNode(p);
    return ret;
  }
  TYPE RemoveTail() {
    CNode* p = m_pNodeTail;
    Check(p);
    TYPE ret(std::move(p->data));
    m_pNodeTail = p->pPrev;
    if (m_pNodeTail)
      m_pNodeTail->pNext = nullptr;
    else
      m_pNodeHead = nullptr;
    FreeNode(p);
    return ret;
  }
  POSITION AddHead(ARG_TYPE newElement) {
    CNode* p = NewNode(newElement);
    p->pNext = m_pNodeHead;
    if (m_pNodeHead)
      m_pNodeHead->pPrev = p;
    else
      m_pNodeTail = p;
    m_pNodeHead = p;
    return (POSITION)p;
  }
  POSITION AddTail(ARG_TYPE newElement) {
    CNode* p = NewNode(newElement);
    p->pPrev = m_pNodeTail;
    if (m_pNodeTail)
      m_pNodeTail->pNext = p;
    else
      m_pNodeHead = p;
    m_pNodeTail = p;
    return (POSITION)p;
  }
  void AddHead(CList* pNewList) {
    for (POSITION pos = pNewList->GetTailPosition(); pos;) AddHead(pNewList->GetPrev(pos));
  }
  void AddTail(CList* pNewList) {
    for (POSITION pos = pNewList->GetHeadPosition(); pos;) AddTail(pNewList->GetNext(pos));
  }
  void RemoveAll() {
    CNode* p = m_pNodeHead;
    while (p) {
      CNode* n = p->pNext;
      delete p;
      p = n;
    }
    m_pNodeHead = m_pNodeTail = nullptr;
    m_nCount = 0;
  }

  POSITION GetHeadPosition() const { return (POSITION)m_pNodeHead; }
  POSITION GetTailPosition() const { return (POSITION)m_pNodeTail; }
  TYPE& GetNext(POSITION& rPosition) {
    CNode* p = Node(rPosition);
    rPosition = (POSITION)p->pNext;
    return p->data;
  }
  const TYPE& GetNext(POSITION& rPosition) const {
    CNode* p = Node(rPosition);
    rPosition = (POSITION)p->pNext;
    return p->data;
  }
  TYPE& GetPrev(POSITION& rPosition) {
    CNode* p = Node(rPosition);
    rPosition = (POSITION)p->pPrev;
    return p->data;
  }
  const TYPE& GetPrev(POSITION& rPosition) const {
    CNode* p = Node(rPosition);
    rPosition = (POSITION)p->pPrev;
    return p->data;
  }
  TYPE& GetAt(POSITION position) { return Node(position)->data; }
  const TYPE& GetAt(POSITION position) const { return Node(position)->data; }
  void SetAt(POSITION pos, ARG_TYPE newElement) { Node(pos)->data = newElement; }
  void RemoveAt(POSITION position) {
    CNode* p = Node(position);
    if (p == m_pNodeHead)
      m_pNodeHead = p->pNext;
    else
      p->pPrev->pNext = p->pNext;
    if (p == m_pNodeTail)
      m_pNodeTail = p->pPrev;
    else
      p->pNext->pPrev = p->pPrev;
    FreeNode(p);
  }
  POSITION InsertBefore(POSITION position, ARG_TYPE newElement) {
    if (position == nullptr) return AddHead(newElement);
    CNode* pOld = Node(position);
    CNode* p = NewNode(newElement);
    p->pPrev = pOld->pPrev;
    p->pNext = pOld;
    if (pOld->pPrev)
      pOld->pPrev->pNext = p;
    else
      m_pNodeHead = p;
    pOld->pPrev = p;
    return (POSITION)p;
  }
  POSITION InsertAfter(POSITION position, ARG_TYPE newElement) {
    if (position == nullptr) return AddTail(newElement);
    CNode* pOld = Node(position);
    CNode* p = NewNode(newElement);
    p->pPrev = pOld;
    p->pNext = pOld->pNext;
    if (pOld->pNext)
      pOld->pNext->pPrev = p;
    else
      m_pNodeTail = p;
    pOld->pNext = p;
    return (POSITION)p;
  }
  POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const {
    CNode* p = startAfter ? Node(startAfter)->pNext : m_pNodeHead;
    for (; p; p = p->pNext)
      if (CompareElements(&p->data, &searchValue)) return (POSITION)p;
    return nullptr;
  }
  POSITION FindIndex(INT_PTR nIndex) const {
    if (nIndex < 0 || nIndex >= m_nCount) return nullptr;
    CNode* p = m_pNodeHead;
    while (nIndex--) p = p->pNext;
    return (POSITION)p;
  }

 protected:
  CNode* m_pNodeHead;
  CNode* m_pNodeTail;
  INT_PTR m_nCount;
  INT_PTR m_nBlockSize;

  static void Check(const CNode* p) {
    if (!p) AfxThrowInvalidArgException();
  }
  static CNode* Node(POSITION pos) {
    if (!pos || pos == BEFORE_START_POSITION) AfxThrowInvalidArgException();
    return (CNode*)pos;
  }
  CNode* NewNode(ARG_TYPE d) {
    CNode* p = new CNode(d);
    m_nCount++;
    return p;
  }
  void FreeNode(CNode* p) {
    delete p;
    m_nCount--;
  }
};

///////////////////////////////////////////////////////////////////////////////

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
 protected:
  struct CAssoc {
    CAssoc* pNext;
    UINT nHashValue;
    KEY key;
    VALUE value;
  };

 public:
  explicit CMap(INT_PTR nBlockSize = 10)
      : m_pHashTable(nullptr), m_nHashTableSize(17), m_nCount(0), m_nBlockSize(nBlockSize) {}
  ~CMap() override { RemoveAll(); }

  INT_PTR GetCount() const { return m_nCount; }
  INT_PTR GetSize() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }
  UINT GetHashTableSize() const { return m_nHashTableSize; }

  BOOL Lookup(ARG_KEY key, VALUE& rValue) const {
    UINT nHash;
    CAssoc* p = GetAssocAt(key, nHash);
    if (!p) return FALSE;
    rValue = p->value;
    return TRUE;
  }
  VALUE& operator[](ARG_KEY key) {
    UINT nHash;
    CAssoc* p = GetAssocAt(key, nHash);
    if (p) return p->value;
    if (!m_pHashTable) InitHashTable(m_nHashTableSize);
    p = new CAssoc{m_pHashTable[nHash], nHash, KEY(key), VALUE()};
    m_pHashTable[nHash] = p;
    m_nCount++;
    return p->value;
  }
  void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }
  BOOL RemoveKey(ARG_KEY key) {
    if (!m_pHashTable) return FALSE;
    UINT nHash = HashKey<ARG_KEY>(key) % m_nHashTableSize;
    for (CAssoc** pp = &m_pHashTable[nHash]; *pp; pp = &(*pp)->pNext) {
      if (CompareElements(&(*pp)->key, &key)) {
        CAssoc* p = *pp;
        *pp = p->pNext;
        delete p;
        m_nCount--;
        return TRUE;
      }
    }
    return FALSE;
  }
  void RemoveAll() {
    if (m_pHashTable) {
      for (UINT i = 0; i < m_nHashTableSize; i++) {
        CAssoc* p = m_pHashTable[i];
        while (p) {
          CAssoc* n = p->pNext;
          delete p;
          p = n;
        }
      }
      delete[] m_pHashTable;
      m_pHashTable = nullptr;
    }
    m_nCount = 0;
  }
  // Sizes the table; existing entries are dropped, as the table is meant to be set up first.
  void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE) {
    if (hashSize == 0) hashSize = 17;
    RemoveAll();
    m_nHashTableSize = hashSize;
    if (bAllocNow) {
      m_pHashTable = new CAssoc*[hashSize];
      for (UINT i = 0; i < hashSize; i++) m_pHashTable[i] = nullptr;
    }
  }
  POSITION GetStartPosition() const { return m_nCount == 0 ? nullptr : BEFORE_START_POSITION; }
  void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const {
    CAssoc* pAssoc = (CAssoc*)rNextPosition;
    if (!m_pHashTable || !pAssoc) AfxThrowInvalidArgException();
    if (pAssoc == (CAssoc*)BEFORE_START_POSITION) {
      pAssoc = nullptr;
      for (UINT i = 0; i < m_nHashTableSize && !pAssoc; i++) pAssoc = m_pHashTable[i];
      if (!pAssoc) AfxThrowInvalidArgException();
    }
    CAssoc* pNext = pAssoc->pNext;
    for (UINT b = pAssoc->nHashValue + 1; !pNext && b < m_nHashTableSize; b++) pNext = m_pHashTable[b];
    rNextPosition = (POSITION)pNext;
    rKey = pAssoc->key;
    rValue = pAssoc->value;
  }
  typedef KEY BASE_KEY;
  typedef ARG_KEY BASE_ARG_KEY;
  typedef VALUE BASE_VALUE;
  typedef ARG_VALUE BASE_ARG_VALUE;

 protected:
  CAssoc** m_pHashTable;
  UINT m_nHashTableSize;
  INT_PTR m_nCount;
  INT_PTR m_nBlockSize;

  CAssoc* GetAssocAt(ARG_KEY key, UINT& nHash) const {
    nHash = HashKey<ARG_KEY>(key) % m_nHashTableSize;
    if (!m_pHashTable) return nullptr;
    for (CAssoc* p = m_pHashTable[nHash]; p; p = p->pNext)
      if (CompareElements(&p->key, &key)) return p;
    return nullptr;
  }
};

///////////////////////////////////////////////////////////////////////////////
// Typed pointer wrappers over the pointer collections

template <class BASE_CLASS, class TYPE>
class CTypedPtrArray : public BASE_CLASS {
 public:
  TYPE GetAt(INT_PTR nIndex) const { return (TYPE)BASE_CLASS::GetAt(nIndex); }
  TYPE& ElementAt(INT_PTR nIndex) { return (TYPE&)BASE_CLASS::ElementAt(nIndex); }
  void SetAt(INT_PTR nIndex, TYPE ptr) { BASE_CLASS::SetAt(nIndex, ptr); }
  void SetAtGrow(INT_PTR nIndex, TYPE newElement) { BASE_CLASS::SetAtGrow(nIndex, newElement); }
  INT_PTR Add(TYPE newElement) { return BASE_CLASS::Add(newElement); }
  void InsertAt(INT_PTR nIndex, TYPE newElement, INT_PTR nCount = 1) {
    BASE_CLASS::InsertAt(nIndex, newElement, nCount);
  }
  TYPE operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
  TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }
};

template <class BASE_CLASS, class TYPE>
class CTypedPtrList : public BASE_CLASS {
 public:
  explicit CTypedPtrList(INT_PTR nBlockSize = 10) : BASE_CLASS(nBlockSize) {}
  TYPE& GetHead() { return (TYPE&)BASE_CLASS::GetHead(); }
  TYPE& GetTail() { return (TYPE&)BASE_CLASS::GetTail(); }
  TYPE RemoveHead() { return (TYPE)BASE_CLASS::RemoveHead(); }
  TYPE RemoveTail() { return (TYPE)BASE_CLASS::RemoveTail(); }
  TYPE& GetNext(POSITION& rPosition) { return (TYPE&)BASE_CLASS::GetNext(rPosition); }
  TYPE& GetPrev(POSITION& rPosition) { return (TYPE&)BASE_CLASS::GetPrev(rPosition); }
  TYPE& GetAt(POSITION position) { return (TYPE&)BASE_CLASS::GetAt(position); }
  POSITION AddHead(TYPE newElement) { return BASE_CLASS::AddHead(newElement); }
  POSITION AddTail(TYPE newElement) { return BASE_CLASS::AddTail(newElement); }
  void SetAt(POSITION pos, TYPE newElement) { BASE_CLASS::SetAt(pos, newElement); }
};

template <class BASE_CLASS, class KEY, class VALUE>
class CTypedPtrMap : public BASE_CLASS {
 public:
  explicit CTypedPtrMap(INT_PTR nBlockSize = 10) : BASE_CLASS(nBlockSize) {}
  BOOL Lookup(typename BASE_CLASS::BASE_ARG_KEY key, VALUE& rValue) const {
    typename BASE_CLASS::BASE_VALUE v;
    if (!BASE_CLASS::Lookup(key, v)) return FALSE;
    rValue = (VALUE)v;
    return TRUE;
  }
  VALUE& operator[](typename BASE_CLASS::BASE_ARG_KEY key) { return (VALUE&)BASE_CLASS::operator[](key); }
  void SetAt(KEY key, VALUE newValue) { BASE_CLASS::SetAt(key, newValue); }
  BOOL RemoveKey(KEY key) { return BASE_CLASS::RemoveKey(key); }
  void GetNextAssoc(POSITION& rPosition, KEY& rKey, VALUE& rValue) const {
    typename BASE_CLASS::BASE_KEY k;
    typename BASE_CLASS::BASE_VALUE v;
    BASE_CLASS::GetNextAssoc(rPosition, k, v);
    rKey = (KEY)k;
    rValue = (VALUE)v;
  }
};

#include "afxcoll.h"
