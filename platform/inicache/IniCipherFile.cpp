#include "IniCipherFile.h"

#include <cstring>

#include "Rc6Core.h"

namespace vesk {

const char kIniDefaultKey[] = "KESTRAVO";

namespace {

void KeyCipher(Rc6Core& cipher, const char* keyText) {
  if (!keyText || !*keyText) keyText = kIniDefaultKey;
  cipher.SetKey(reinterpret_cast<const uint8_t*>(keyText), std::strlen(keyText) * 8);
}

}  // namespace

bool HasIniCipherMagic(const uint8_t* data, size_t length) {
  if (!data || length < kIniCipherMagicSize) return false;
  uint32_t magic = uint32_t(data[0]) | (uint32_t(data[1]) << 8) | (uint32_t(data[2]) << 16) | (uint32_t(data[3]) << 24);
  return magic == kIniCipherMagic;
}

void EncipherIniText(uint8_t* text, size_t length, const char* keyText) {
  Rc6Core cipher;
  KeyCipher(cipher, keyText);
  cipher.EncryptBuffer(text, length);
}

void DecipherIniText(uint8_t* text, size_t length, const char* keyText) {
  Rc6Core cipher;
  KeyCipher(cipher, keyText);
  cipher.DecryptBuffer(text, length);
}

IniFileDecode DecodeIniFile(const uint8_t* data, size_t length, const char* keyText, std::string& text) {
  bool enciphered = HasIniCipherMagic(data, length);
  if (enciphered) {
    text.assign(reinterpret_cast<const char*>(data) + kIniCipherMagicSize, length - kIniCipherMagicSize);
    DecipherIniText(reinterpret_cast<uint8_t*>(&text[0]), text.size(), keyText);
  } else {
    text.assign(data ? reinterpret_cast<const char*>(data) : "", data ? length : 0);
  }
  if (text.find('\0') != std::string::npos) {
    text.clear();
    return IniFileDecode::ZeroByte;
  }
  return enciphered ? IniFileDecode::Enciphered : IniFileDecode::Plain;
}

std::vector<uint8_t> EncodeIniFile(const std::string& text, bool encipher, const char* keyText) {
  std::vector<uint8_t> out;
  out.reserve(text.size() + kIniCipherMagicSize);
  if (encipher) {
    out.push_back(uint8_t(kIniCipherMagic));
    out.push_back(uint8_t(kIniCipherMagic >> 8));
    out.push_back(uint8_t(kIniCipherMagic >> 16));
    out.push_back(uint8_t(kIniCipherMagic >> 24));
  }
  // A plain text that happens to begin with the magic would read back as
  // enciphered: a leading blank line keeps it plain.
  if (!encipher && HasIniCipherMagic(reinterpret_cast<const uint8_t*>(text.data()), text.size())) {
    out.push_back('\r');
    out.push_back('\n');
  }
  out.insert(out.end(), text.begin(), text.end());
  if (encipher) EncipherIniText(out.data() + kIniCipherMagicSize, text.size(), keyText);
  return out;
}

}  // namespace vesk
