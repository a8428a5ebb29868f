#include "CardCells.h"

const CardSheetSpec kCardSheets[5] = {
    {1, 135, 54, 72, 8}, {4, 132, 27, 38, 8}, {2, 133, 42, 56, 8}, {8, 131, 71, 96, 24}, {16, 151, 106, 144, 24},
};

int CardSheetIndex(uint16_t type) {
  for (int i = 0; i < 5; ++i)
    if (kCardSheets[i].type == type) return i;
  return -1;
}

const CardSheetSpec* FindCardSheet(uint16_t type) {
  const int i = CardSheetIndex(type);
  return i < 0 ? nullptr : &kCardSheets[i];
}

int CheckCardRequest(bool hasDC, uint16_t type, uint16_t loadedMask, uint16_t code) {
  if (!hasDC) return CARD_NO_DC;
  if ((type & loadedMask) != type) return CARD_TYPE_NOT_LOADED;
  if (code < 16 || code > 79) return CARD_BAD_ROW;
  const int column = CardCodeColumn(code);
  if (column == 0 || column == 15) return CARD_BAD_COLUMN;
  if (!FindCardSheet(type)) return CARD_BAD_TYPE;
  return CARD_DRAWN;
}

void CardCellOrigin(uint16_t code, int cw, int ch, int* x, int* y) {
  *x = (CardCodeColumn(code) - 1) * cw;
  *y = (CardCodeRow(code) - 1) * ch;
}

void CardMaskOrigin(int cw, int ch, int* x, int* y) {
  *x = 13 * cw;
  *y = 3 * ch;
}

void ApplyCardDefaults(CardDefaults form, uint16_t type, uint16_t* w, uint16_t* h, uint16_t* srcW, uint16_t* srcH) {
  const CardSheetSpec* s = FindCardSheet(type);
  if (!s) return;
  const int scale = (form == CardDefaults::Library && (type == 8 || type == 16)) ? 2 : 1;
  if (*w == 0) *w = static_cast<uint16_t>(s->cellW * scale);
  if (*h == 0) *h = static_cast<uint16_t>(s->cellH * scale);
  if (*srcW == 0) *srcW = static_cast<uint16_t>(s->cellW);
  if (*srcH == 0) *srcH = static_cast<uint16_t>(s->cellH);
}
