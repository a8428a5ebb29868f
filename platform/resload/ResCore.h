// Portable pieces of resource-library loading, module versions and text utilities.
// Standard C++ only: the Windows side (ResLoad.h) calls these for every decision
// that needs no window, so the rules are testable natively.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// ---- versions -------------------------------------------------------------

// Splits "a.b.c.d" (or "a,b,c,d" when the text holds no dot) into four words;
// at most 63 characters are looked at, missing parts are 0. Returns false for a null text.
bool ParseVersion(const char* text, uint16_t out[4]);
// -1, 0 or 1 comparing word by word from the major word.
int CompareVersionWords(const uint16_t a[4], const uint16_t b[4]);
// The four words of a VS_FIXEDFILEINFO file version (most and least significant dwords).
void SplitFileVersion(uint32_t ms, uint32_t ls, uint16_t out[4]);
// "%d.%02d.%d.%d"
std::string FormatVersionText(uint32_t ms, uint32_t ls);
// "%d.%02d%s" with " Beta%d" of the fourth part unless that part is 255.
std::string FormatShortVersion(uint32_t ms, uint32_t ls);
// Packs up to four dot-separated decimal parts into one byte each, the first part in the
// highest byte ("1.2.3.4" -> 0x01020304, "1.2" -> 0x01020000); parts are cut to 8 bits.
uint32_t VersionTextToNumber(const char* text);
// "%d.%d.%d.%d" as CModuleVersion keeps it.
std::string FormatDottedVersion(const uint16_t w[4]);

// The facts of one version block that the resource-library check looks at.
struct ModuleVersionFacts {
  uint32_t fileType = 0;  // VFT_APP 1, VFT_DLL 2
  uint32_t versionMS = 0;
  uint32_t versionLS = 0;
  std::string internalName;
};

enum ResLibCheck {
  RESLIB_OK = 0,
  RESLIB_NOT_FOUND = 1,      // "%s_Res.dll not found !"
  RESLIB_NOT_VALID = 2,      // "%s_Res.dll is not a valid resource file !"
  RESLIB_WRONG_VERSION = 3,  // "Incorrect version of %s_Res.dll !"
  RESLIB_OUT_OF_MEMORY = 4,  // "Out off memory when version compare!"
};

// The library's internal name must start with the program's and end in "Resource".
bool IsResourceInternalName(const std::string& programName, const std::string& libraryName);
// File types, then all four version parts, then the internal-name rule.
ResLibCheck CheckResourceLibrary(const ModuleVersionFacts& program, const ModuleVersionFacts& library);
// The built-in English failure text for a result, with the program name filled in.
std::string ResLibFailureText(ResLibCheck result, const std::string& programName);

// ---- table rules exchanged with the lobby ------------------------------------

struct RuleSettings {
  int first = 1;  // always 1 when written
  bool scoreByRounds = false;
  int rounds = 0;
  int secondsPerCard = 100;
  int recordScore = 1;
  int chatMode = 0;
};

// Reads up to five blank-separated numbers (first, rounds, seconds, record flag, chat mode).
RuleSettings ParseRuleText(const char* text);
// "%d %d %d %d %d": 1, rounds (0 when score-by-rounds is off), seconds, record flag, chat mode.
std::string FormatRuleText(const RuleSettings& rules);
// Range checks of the rule dialog: rounds 4 to 100 (only when score-by-rounds is on), seconds 10 to 600.
bool RuleRoundsValid(int rounds);
bool RuleSecondsValid(int seconds);

// ---- numbers and INI values ------------------------------------------------

// atoi that never overflows: saturates at the int range.
int SafeAtoi(const char* text);
// "0x"/"0X" and hex digits, else decimal.
int ParseNumber(const char* text);
// Skips blanks and commas, reads a number, skips it and the blanks and commas behind it.
// Returns the rest, or nullptr when the text is null or empty there.
const char* ParseNextInt(const char* text, int* out);
// An INI colour value (see ReadIniColor); returns a Windows colour (red in the low byte).
uint32_t ParseIniColorText(const char* value, uint32_t defaultColor);
// "x,y" sets both, "x" only the first, an empty text leaves both.
void ParseIniPairText(const char* value, int* first, int* second);

// ---- path and text helpers -------------------------------------------------

// Cuts the text at its last backslash or colon; returns false when it holds neither.
bool CutAtLastSeparator(char* path);
// The last occurrence of pattern starting at or before pos (-1 = the end), stepping
// over GBK characters as units; -1 when there is none.
int ReverseFind(const char* text, const char* pattern, int pos);
// Case-insensitive search (ASCII letters); both sides limited to 1023 characters.
const char* StrStrNoCase(const char* text, const char* pattern);
// The Share folder for the platform layout: the part of programFolder before
// "Game\<name>" (case-insensitive) followed by "Game\Share\"; empty when the folder
// does not lie in such a layout.
std::string PlatformShareFolder(const std::string& programFolder, const std::string& programName);

// Text cutters working in place on a zero-terminated line (used by the INI cache).
char* SkipLeadingChar(char* text, char c);
void TrimTrailingChar(char* text, char c);
bool CharInSet(char c, const char* set);
char* SkipLeadingSet(char* text, const char* set);
// Moves past the first `start` and cuts at the first `end` behind it; nullptr when
// `start` is missing. The strict form also fails when `end` is missing.
char* CutBetween(char* text, char start, char end);
char* CutBetweenStrict(char* text, char start, char end);
void CutAtChar(char* text, char c);

// ---- display text ----------------------------------------------------------

// Length of the longest prefix of at most `limit` bytes that ends on a character
// boundary of GBK text (a lead byte 0x81..0xFE always takes the next byte with it).
size_t GbkPrefixLength(const char* text, size_t length, size_t limit);
// Measures the extent of a byte run.
using TextExtentFn = std::function<int(const char* text, size_t length)>;
// The text unchanged when extent + margin <= width; else the longest whole-character
// prefix whose extent plus the extent of "..." plus the margin fits, followed by "...".
std::string EllipsizeBytes(const std::string& text, int width, int margin, const TextExtentFn& extent);
