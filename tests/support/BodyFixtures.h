// Reads tests/fixtures/game_bodies.txt: one named body a line, hex with spaces for
// reading, "#" starting a comment. The client's and the table server's codec tests
// both read it, so each side is pinned to the same bytes.
#pragma once
#include <cctype>
#include <cstdint>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

inline std::map<std::string, std::vector<uint8_t>> LoadBodyFixtures(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot open " + path);
  std::map<std::string, std::vector<uint8_t>> out;
  std::string line;
  while (std::getline(in, line)) {
    line = line.substr(0, line.find('#'));
    std::istringstream words(line);
    std::string name, hex, part;
    if (!(words >> name)) continue;
    while (words >> part) hex += part;
    if (hex.size() % 2 || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
      throw std::runtime_error("bad hex in fixture " + name);
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < hex.size(); i += 2)
      bytes.push_back(static_cast<uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    if (!out.emplace(name, bytes).second) throw std::runtime_error("fixture named twice: " + name);
  }
  return out;
}
