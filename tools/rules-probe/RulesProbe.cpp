// rules-probe: answers rule questions line by line so that the card-rule
// engine can be checked against other references.
//
//   classify P S T c1 c2 ...            -> play type
//   compare  P S T a1 a2 ... / b1 ...   -> CompareCards(a, b)
//   hint     P S T l1 ... / h1 h2 ...   -> every hint of one cycle, "-" for none
//   bombs    P h1 h2 ...                -> CountBombs of the hand
//
// P is the player count (3 or 4), S the straight switch and T the
// triple-with-single switch (0 or 1), cards are wire codes 0..107. A bad line
// gets "error: <reason>" and the tool reads on.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "CardRules.h"

namespace {

const int32_t kMaxCode = 107;  // two decks

struct BadRequest {
  std::string reason;
};

bool ParseInt(const std::string& tok, long& out) {
  if (tok.empty()) return false;
  const char* s = tok.c_str();
  char* end = nullptr;
  errno = 0;
  long v = std::strtol(s, &end, 10);
  if (errno != 0 || *end != '\0' || end == s) return false;
  out = v;
  return true;
}

long Number(const std::string& tok, const char* what) {
  long v = 0;
  if (!ParseInt(tok, v)) throw BadRequest{std::string("bad ") + what + " '" + tok + "'"};
  return v;
}

class Request {
 public:
  explicit Request(const std::string& line) {
    std::istringstream in(line);
    std::string t;
    while (in >> t) m_tokens.push_back(t);
  }
  bool Done() const { return m_pos >= m_tokens.size(); }
  const std::string& Next(const char* what) {
    if (Done()) throw BadRequest{std::string("missing ") + what};
    return m_tokens[m_pos++];
  }
  bool Empty() const { return m_tokens.empty(); }

  void Options(CCardTable& table, bool bSwitches) {
    long p = Number(Next("player count"), "player count");
    if (p != 3 && p != 4) throw BadRequest{"player count must be 3 or 4"};
    long s = 0, t = 0;
    if (bSwitches) {
      s = Number(Next("straight switch"), "straight switch");
      t = Number(Next("triple-with-single switch"), "triple-with-single switch");
      if ((s != 0 && s != 1) || (t != 0 && t != 1)) throw BadRequest{"switches must be 0 or 1"};
    }
    table.SetRuleOptions(static_cast<int>(p), static_cast<int>(s), static_cast<int>(t));
  }

  // Card codes up to the end or, when bStopAtSlash, up to a "/" (consumed).
  std::vector<int32_t> Codes(bool bStopAtSlash) {
    std::vector<int32_t> out;
    bool bSlash = false;
    while (!Done()) {
      const std::string& tok = m_tokens[m_pos++];
      if (tok == "/") {
        if (!bStopAtSlash) throw BadRequest{"unexpected '/'"};
        bSlash = true;
        break;
      }
      long v = Number(tok, "card code");
      if (v < 0 || v > kMaxCode) throw BadRequest{"card code out of range '" + tok + "'"};
      if (out.size() >= static_cast<size_t>(CCardRules::MAX_CARDS)) throw BadRequest{"more than 33 cards in a set"};
      out.push_back(static_cast<int32_t>(v));
    }
    if (bStopAtSlash && !bSlash) throw BadRequest{"missing '/'"};
    return out;
  }

 private:
  std::vector<std::string> m_tokens;
  size_t m_pos = 0;
};

std::vector<CARD_INFO> Records(const std::vector<int32_t>& codes) {
  std::vector<CARD_INFO> out(codes.size());
  for (size_t i = 0; i < codes.size(); ++i) CCardRules::SetCardFromCode(&out[i], codes[i]);
  return out;
}

std::string Answer(const std::string& line) {
  Request req(line);
  if (req.Empty()) throw BadRequest{"empty request"};
  const std::string cmd = req.Next("command");
  CCardTable table;
  if (cmd == "classify") {
    req.Options(table, true);
    std::vector<CARD_INFO> c = Records(req.Codes(false));
    return std::to_string(table.ClassifyCards(c.data(), static_cast<int>(c.size())));
  }
  if (cmd == "compare") {
    req.Options(table, true);
    std::vector<CARD_INFO> a = Records(req.Codes(true));
    std::vector<CARD_INFO> b = Records(req.Codes(false));
    return std::to_string(
        table.CompareCards(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size())));
  }
  if (cmd == "hint") {
    req.Options(table, true);
    std::vector<int32_t> last = req.Codes(true);
    std::vector<int32_t> hand = req.Codes(false);
    table.SetSeatCodes(CCardRules::OWN_POSITION, hand.data(), static_cast<int>(hand.size()));
    table.SortSeatHand(CCardRules::OWN_POSITION, 0);
    table.SetLastPlayCodes(last.data(), static_cast<int>(last.size()));
    std::string out;
    const CARD_INFO* p = nullptr;
    int n = table.FindHint(&p);
    const int total = table.GetCandidateCount();
    for (int k = 0; n > 0 && k < total; ++k) {
      if (k > 0) n = table.FindHint(&p);
      if (!out.empty()) out += ' ';
      for (int i = 0; i < n; ++i) {
        if (i) out += ',';
        out += std::to_string(p[i].nCode);
      }
    }
    return out.empty() ? "-" : out;
  }
  if (cmd == "bombs") {
    req.Options(table, false);
    std::vector<int32_t> hand = req.Codes(false);
    table.SetSeatCodes(2, hand.data(), static_cast<int>(hand.size()));
    return std::to_string(table.CountBombs(2));
  }
  throw BadRequest{"unknown command '" + cmd + "'"};
}

}  // namespace

int main() {
  std::ios::sync_with_stdio(false);
  std::string line;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string out;
    try {
      out = Answer(line);
    } catch (const BadRequest& e) {
      out = "error: " + e.reason;
    }
    std::cout << out << '\n' << std::flush;
  }
  return 0;
}
