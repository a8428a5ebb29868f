#include "RC6Cipher.h"

void CRC6Cipher::SetKey(const BYTE* pKey, UINT nBits) {
  if (!pKey) nBits = 0;
  m_core.SetKey(pKey, nBits);
}

void CRC6Cipher::EncryptBlock(const BYTE* pIn, BYTE* pOut) {
  if (pIn && pOut) m_core.EncryptBlock(pIn, pOut);
}

void CRC6Cipher::DecryptBlock(const BYTE* pIn, BYTE* pOut) {
  if (pIn && pOut) m_core.DecryptBlock(pIn, pOut);
}

void CRC6Cipher::EncryptBuffer(BYTE* pData, UINT nLength) {
  if (pData) m_core.EncryptBuffer(pData, nLength);
}

void CRC6Cipher::DecryptBuffer(BYTE* pData, UINT nLength) {
  if (pData) m_core.DecryptBuffer(pData, nLength);
}
