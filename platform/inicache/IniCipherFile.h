// The enciphered INI file: u32 magic 0xED02BE01 (little-endian), then the INI
// text enciphered with RC6 keyed by a key text. A file without the magic is
// plain text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vesk {

constexpr uint32_t kIniCipherMagic = 0xED02BE01u;
constexpr size_t kIniCipherMagicSize = 4;
extern const char kIniDefaultKey[];  // "KESTRAVO"

bool HasIniCipherMagic(const uint8_t* data, size_t length);

// Enciphers or deciphers the text in place with RC6 keyed by keyText (the
// default key when null or empty).
void EncipherIniText(uint8_t* text, size_t length, const char* keyText);
void DecipherIniText(uint8_t* text, size_t length, const char* keyText);

enum class IniFileDecode { Plain, Enciphered, ZeroByte };

// Turns file bytes into the INI text: strips and deciphers behind the magic.
// A text holding a zero byte is refused (ZeroByte; text is cleared).
IniFileDecode DecodeIniFile(const uint8_t* data, size_t length, const char* keyText, std::string& text);

// File bytes for the text, with the magic and enciphered when asked.
std::vector<uint8_t> EncodeIniFile(const std::string& text, bool encipher, const char* keyText);

}  // namespace vesk
