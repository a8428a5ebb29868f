// Cards written as faces for readable tests: "3 3 3 4", "10 J Q K A", "sj bj".
#pragma once

#include <cstdint>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "CardRules.h"

namespace cardtext {

inline int FaceRank(const std::string& f) {
  static const char* kFaces[] = {"3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K", "A", "2", "sj", "bj"};
  for (int r = 0; r < 15; ++r)
    if (f == kFaces[r]) return r;
  return -1;
}

inline std::string RankFace(int r) {
  static const char* kFaces[] = {"3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K", "A", "2", "sj", "bj"};
  return r >= 0 && r < 15 ? kFaces[r] : "?";
}

// Wire codes for the faces; repeated faces take the next suit, then the
// second deck (code + 54).
inline std::vector<int32_t> Codes(const std::string& text) {
  std::vector<int32_t> out;
  int seen[15] = {0};
  std::istringstream in(text);
  std::string f;
  while (in >> f) {
    int r = FaceRank(f);
    if (r < 0) throw std::runtime_error("bad face " + f);
    int k = seen[r]++;
    if (r >= 13)
      out.push_back(54 * k + 39 + r);
    else
      out.push_back(54 * (k / 4) + 13 * (k % 4) + r);
  }
  return out;
}

inline std::vector<CARD_INFO> Cards(const std::string& text) {
  std::vector<int32_t> codes = Codes(text);
  std::vector<CARD_INFO> out(codes.size());
  for (size_t i = 0; i < codes.size(); ++i) CCardRules::SetCardFromCode(&out[i], codes[i]);
  return out;
}

inline std::string Faces(const CARD_INFO* p, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) {
    if (i) s += ' ';
    s += RankFace(p[i].nRank);
  }
  return s;
}

}  // namespace cardtext
