#include <benchmark/benchmark.h>

#include "FrameAssembler.h"
#include "WireTransform.h"

using namespace netcore;

namespace {

class MemorySource : public IByteSource {
 public:
  explicit MemorySource(const std::vector<uint8_t>& b) : m_b(b) {}
  CWireTransform recv;
  long Read(uint8_t* buf, size_t max, int*) override {
    size_t n = std::min(max, m_b.size() - m_pos);
    std::copy(m_b.begin() + long(m_pos), m_b.begin() + long(m_pos + n), buf);
    recv.Apply(buf, n);
    m_pos += n;
    return long(n);
  }
  void Rewind() { m_pos = 0; }

 private:
  const std::vector<uint8_t>& m_b;
  size_t m_pos = 0;
};

std::vector<uint8_t> Stream(size_t body, int frames) {
  std::vector<uint8_t> s, payload(body, 0x5A);
  for (int i = 0; i < frames; ++i) {
    auto f = BuildFrame(i % 2 ? 0x80000205u : 0x205u, payload.data(), payload.size(), 1);
    s.insert(s.end(), f.begin(), f.end());
  }
  return s;
}

void Assemble(benchmark::State& state, bool transform) {
  const int frames = 256;
  auto stream = Stream(size_t(state.range(0)), frames);
  const CWireProgram prog({{WIRE_ADD, 1}, {WIRE_XOR, 2}});
  if (transform) {  // sealed as the server sends it
    uint32_t st = 0;
    prog.Inverse().Apply(stream.data(), stream.size(), &st);
  }
  for (auto _ : state) {
    MemorySource src(stream);
    if (transform) src.recv.Install(prog, 0);
    CFrameAssembler as;
    int got = 0, err = 0;
    while (got < frames) {
      CFrameAssembler::Status st = as.ReadOnce(src, &err);
      if (st == CFrameAssembler::kFrame) {
        benchmark::DoNotOptimize(as.TakeFrame());
        ++got;
      } else if (st != CFrameAssembler::kIncomplete) {
        state.SkipWithError("stream did not assemble");
        break;
      }
    }
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(stream.size()));
}

}  // namespace

BENCHMARK_CAPTURE(Assemble, plain, false)->Arg(16)->Arg(512)->Arg(8192);
BENCHMARK_CAPTURE(Assemble, transformed, true)->Arg(16)->Arg(512);
