// The transform block parser and the MSG_WIRE_CODE body parser; whatever parses must round-trip
// through its serialisation and be undone by its inverse.
#include <cstdlib>
#include <cstring>

#include "WireTransform.h"

using namespace netcore;

static void Check(const CWireProgram& p) {
  uint8_t buf[64], orig[64];
  for (size_t i = 0; i < sizeof buf; ++i) buf[i] = orig[i] = uint8_t(i * 13);
  uint32_t a = 0xFFFFFFE0u, b = a;
  p.Apply(buf, sizeof buf, &a);
  p.Inverse().Apply(buf, sizeof buf, &b);
  if (a != b || std::memcmp(buf, orig, sizeof buf) != 0) abort();
  std::vector<uint8_t> s = p.Serialize();
  CWireProgram back;
  if (!CWireProgram::Parse(s.data(), s.size(), &back) || back.Serialize() != s) abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CWireProgram p;
  if (CWireProgram::Parse(data, size, &p)) Check(p);
  WireCode code;
  if (ParseWireCode(data, size, &code)) {
    Check(code.send);
    Check(code.recv);
    if (BuildWireCodeBody(code).size() != size) abort();
  }
  return 0;
}
