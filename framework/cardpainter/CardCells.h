// The card sheet format shared by QKCards.dll and the card painter: size types, the
// sheets' resource ids and cells, CardCellCode and the result codes of ShowCard.
// Portable: no Windows headers.
#pragma once
#include <cstdint>

enum CardResult {
  CARD_DRAWN = 1,
  CARD_NO_DC = 10,
  CARD_TYPE_NOT_LOADED = 20,  // the type has bits outside the loaded mask
  CARD_BAD_COLUMN = 30,       // column 0 or 15
  CARD_BAD_ROW = 40,          // code below 16 or above 79
  CARD_BAD_TYPE = 100,        // not one of 1, 2, 4, 8, 16
};

struct CardSheetSpec {
  uint16_t type;   // size type, a single bit
  int resourceId;  // bitmap resource in QKCards.dll
  int cellW, cellH;
  int bitsPerPixel;
};

const int kCardColumns = 14;
const int kCardRows = 4;

// The five sheets in the order they are loaded: types 1, 4, 2, 8, 16.
extern const CardSheetSpec kCardSheets[5];

// The sheet of a size type, or null when the type is not exactly one of the five.
const CardSheetSpec* FindCardSheet(uint16_t type);
// Index of a type in kCardSheets, or -1.
int CardSheetIndex(uint16_t type);

// CardCellCode: high nibble row 1..4, low nibble column 1..14.
inline int CardCodeRow(uint16_t code) { return code >> 4; }
inline int CardCodeColumn(uint16_t code) { return code & 0x0F; }

// The checks of ShowCard in their order: DC, loaded type, row, column, type.
int CheckCardRequest(bool hasDC, uint16_t type, uint16_t loadedMask, uint16_t code);

// Top-left of a code's cell and of the mask cell (column 14, row 4) for cells of cw x ch.
void CardCellOrigin(uint16_t code, int cw, int ch, int* x, int* y);
void CardMaskOrigin(int cw, int ch, int* x, int* y);

// Zero sizes take the type's defaults. The card painter draws every type 1:1; the card
// library's size form draws types 8 and 16 at twice their cell size.
enum class CardDefaults { Painter, Library };
void ApplyCardDefaults(CardDefaults form, uint16_t type, uint16_t* w, uint16_t* h, uint16_t* srcW, uint16_t* srcH);
