// Non-template collections (pointer, word, string arrays, lists and maps).
#pragma once

#include "afxtempl.h"

class CPtrArray : public CArray<void*, void*> {};
class CObArray : public CArray<CObject*, CObject*> {};
class CDWordArray : public CArray<DWORD, DWORD> {};
class CUIntArray : public CArray<UINT, UINT> {};
class CWordArray : public CArray<WORD, WORD> {};
class CByteArray : public CArray<BYTE, BYTE> {};
class CStringArray : public CArray<CString, LPCSTR> {
 public:
  INT_PTR Add(const CString& s) { return CArray<CString, LPCSTR>::Add((LPCSTR)s); }
  INT_PTR Add(LPCSTR s) { return CArray<CString, LPCSTR>::Add(s); }
};

class CPtrList : public CList<void*, void*> {
 public:
  explicit CPtrList(INT_PTR nBlockSize = 10) : CList<void*, void*>(nBlockSize) {}
};
class CObList : public CList<CObject*, CObject*> {
 public:
  explicit CObList(INT_PTR nBlockSize = 10) : CList<CObject*, CObject*>(nBlockSize) {}
};
class CStringList : public CList<CString, LPCSTR> {
 public:
  explicit CStringList(INT_PTR nBlockSize = 10) : CList<CString, LPCSTR>(nBlockSize) {}
};

class CMapPtrToPtr : public CMap<void*, void*, void*, void*> {
 public:
  explicit CMapPtrToPtr(INT_PTR nBlockSize = 10) : CMap<void*, void*, void*, void*>(nBlockSize) {}
};
class CMapPtrToWord : public CMap<void*, void*, WORD, WORD> {
 public:
  explicit CMapPtrToWord(INT_PTR nBlockSize = 10) : CMap<void*, void*, WORD, WORD>(nBlockSize) {}
};
class CMapWordToPtr : public CMap<WORD, WORD, void*, void*> {
 public:
  explicit CMapWordToPtr(INT_PTR nBlockSize = 10) : CMap<WORD, WORD, void*, void*>(nBlockSize) {}
};
class CMapWordToOb : public CMap<WORD, WORD, CObject*, CObject*> {
 public:
  explicit CMapWordToOb(INT_PTR nBlockSize = 10) : CMap<WORD, WORD, CObject*, CObject*>(nBlockSize) {}
};
class CMapStringToPtr : public CMap<CString, LPCSTR, void*, void*> {
 public:
  explicit CMapStringToPtr(INT_PTR nBlockSize = 10) : CMap<CString, LPCSTR, void*, void*>(nBlockSize) {}
};
class CMapStringToOb : public CMap<CString, LPCSTR, CObject*, CObject*> {
 public:
  explicit CMapStringToOb(INT_PTR nBlockSize = 10) : CMap<CString, LPCSTR, CObject*, CObject*>(nBlockSize) {}
};
class CMapStringToString : public CMap<CString, LPCSTR, CString, LPCSTR> {
 public:
  explicit CMapStringToString(INT_PTR nBlockSize = 10) : CMap<CString, LPCSTR, CString, LPCSTR>(nBlockSize) {}
};
