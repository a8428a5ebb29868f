#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "IniDocument.h"
#include "Rc6Core.h"

namespace {

void BM_Rc6Encrypt(benchmark::State& state) {
    std::vector<uint8_t> data(size_t(state.range(0)), 0x5A);
    vesk::Rc6Core c;
    const char key[] = "KESTRAVO";
    c.SetKey(reinterpret_cast<const uint8_t*>(key), 64);
    for (auto _ : state) {
        c.EncryptBuffer(data.data(), data.size());
        benchmark::DoNotOptimize(data.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_Rc6Encrypt)->Arg(4096)->Arg(1 << 20);

void BM_Rc6Decrypt(benchmark::State& state) {
    std::vector<uint8_t> data(size_t(state.range(0)), 0xA5);
    vesk::Rc6Core c;
    const char key[] = "KESTRAVO";
    c.SetKey(reinterpret_cast<const uint8_t*>(key), 64);
    for (auto _ : state) {
        c.DecryptBuffer(data.data(), data.size());
        benchmark::DoNotOptimize(data.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_Rc6Decrypt)->Arg(1 << 20);

void BM_Rc6KeySchedule(benchmark::State& state) {
    const char key[] = "tqwnzkpfe#lmbsdyxauv38Rcgoihjt&NMv,pYkxe";
    vesk::Rc6Core c;
    for (auto _ : state) {
        c.SetKey(reinterpret_cast<const uint8_t*>(key), 160);
        benchmark::DoNotOptimize(c.RoundKeys());
    }
}
BENCHMARK(BM_Rc6KeySchedule);

std::string ThemeLikeText(int sections, int keys) {
    std::string t = "; theme\r\n";
    for (int s = 0; s < sections; ++s) {
        t += "[Section" + std::to_string(s) + "]\r\n";
        for (int k = 0; k < keys; ++k)
            t += "  Key" + std::to_string(k) + " = " + std::to_string(k * 31) + ",12,200 ; note\r\n";
    }
    return t;
}

void BM_IniParse(benchmark::State& state) {
    std::string text = ThemeLikeText(int(state.range(0)), 40);
    for (auto _ : state) {
        vesk::IniDocument doc;
        doc.Parse(text.data(), text.size());
        benchmark::DoNotOptimize(doc.Sections().data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_IniParse)->Arg(10)->Arg(200);

void BM_IniLookup(benchmark::State& state) {
    std::string text = ThemeLikeText(50, 40);
    vesk::IniDocument doc;
    doc.Parse(text.data(), text.size());
    char buf[64];
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.GetString("SECTION25", "key17", "", buf, sizeof buf));
}
BENCHMARK(BM_IniLookup);

}  // namespace
