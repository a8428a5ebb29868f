// RC6-32/20 block cipher (16-byte blocks, ECB) used for enciphered INI files.
#pragma once

#include <windows.h>

#include "Rc6Core.h"

class CRC6Cipher {
 public:
  CRC6Cipher() {}

  // Keys with bits / 32 whole words of the key (at most 8; fewer than 32
  // bits count as one zero word).
  void SetKey(const BYTE* pKey, UINT nBits);
  BOOL IsKeyed() const { return m_core.IsKeyed(); }

  // A cipher that was never keyed keys itself with its built-in text first.
  // Input and output may be the same block.
  void EncryptBlock(const BYTE* pIn, BYTE* pOut);
  void DecryptBlock(const BYTE* pIn, BYTE* pOut);

  // In place: whole blocks enciphered, the tail bytes XORed with one fixed byte.
  void EncryptBuffer(BYTE* pData, UINT nLength);
  void DecryptBuffer(BYTE* pData, UINT nLength);

 private:
  vesk::Rc6Core m_core;
};
