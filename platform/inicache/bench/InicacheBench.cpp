// RC6 and INI parsing, each beside a widely used library on the same input:
// our cipher against Crypto++'s RC6 on the same buffers, our parser against
// inih storing into a hash map (flat, and two-level like ours) on the same
// generated text, warm and as the first parse of a fresh process. Equal results
// are checked before anything is timed; the ratios are printed at the end.
#include <benchmark/benchmark.h>

#include <crypto++/rc6.h>
#include <ini.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "IniDocument.h"
#include "Rc6Core.h"

namespace {

// 128 bits: Crypto++ takes RC6 keys of 16, 24 or 32 bytes only.
const char kKey[] = "KESTRAVO-theme.k";
const size_t kKeyBytes = 16;

void Require(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "benchmark input check failed: %s\n", what);
    std::exit(1);
  }
}

std::vector<uint8_t> Pattern(size_t n) {
  std::vector<uint8_t> v(n);
  uint32_t x = 12345;
  for (uint8_t& b : v) {
    x = x * 1103515245u + 12345u;
    b = uint8_t(x >> 24);
  }
  return v;
}

// Both ciphers give the same bytes in both directions.
void CheckSameCiphertext() {
  static bool done = false;
  if (done) return;
  done = true;
  std::vector<uint8_t> plain = Pattern(1 << 16), ours = plain, theirs(plain.size());
  vesk::Rc6Core c;
  c.SetKey(reinterpret_cast<const uint8_t*>(kKey), 8 * kKeyBytes);
  c.EncryptBuffer(ours.data(), ours.size());
  CryptoPP::RC6::Encryption enc(reinterpret_cast<const CryptoPP::byte*>(kKey), kKeyBytes);
  enc.AdvancedProcessBlocks(plain.data(), nullptr, theirs.data(), plain.size(), 0);
  Require(ours == theirs, "RC6 ciphertext differs from Crypto++");
  CryptoPP::RC6::Decryption dec(reinterpret_cast<const CryptoPP::byte*>(kKey), kKeyBytes);
  dec.AdvancedProcessBlocks(theirs.data(), nullptr, theirs.data(), theirs.size(), 0);
  c.DecryptBuffer(ours.data(), ours.size());
  Require(ours == plain && theirs == plain, "RC6 deciphering differs from Crypto++");
}

void BM_Rc6Encrypt(benchmark::State& state) {
  CheckSameCiphertext();
  std::vector<uint8_t> data = Pattern(size_t(state.range(0)));
  vesk::Rc6Core c;
  c.SetKey(reinterpret_cast<const uint8_t*>(kKey), 8 * kKeyBytes);
  for (auto _ : state) {
    c.EncryptBuffer(data.data(), data.size());
    benchmark::DoNotOptimize(data.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_Rc6Encrypt)->Arg(4096)->Arg(1 << 20);

void BM_Rc6Decrypt(benchmark::State& state) {
  CheckSameCiphertext();
  std::vector<uint8_t> data = Pattern(size_t(state.range(0)));
  vesk::Rc6Core c;
  c.SetKey(reinterpret_cast<const uint8_t*>(kKey), 8 * kKeyBytes);
  for (auto _ : state) {
    c.DecryptBuffer(data.data(), data.size());
    benchmark::DoNotOptimize(data.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_Rc6Decrypt)->Arg(1 << 20);

// Each kernel the processor has, on the same buffer (the default above is
// the widest).
void BM_Rc6Kernel(benchmark::State& state) {
  CheckSameCiphertext();
  const vesk::Rc6Core::Kernel chosen = vesk::Rc6Core::SelectedKernel();
  if (!vesk::Rc6Core::SelectKernel(vesk::Rc6Core::Kernel(state.range(0)))) {
    state.SkipWithError("not on this processor");
    return;
  }
  std::vector<uint8_t> data = Pattern(size_t(state.range(1)));
  vesk::Rc6Core c;
  c.SetKey(reinterpret_cast<const uint8_t*>(kKey), 8 * kKeyBytes);
  for (auto _ : state) {
    if (state.range(2))
      c.DecryptBuffer(data.data(), data.size());
    else
      c.EncryptBuffer(data.data(), data.size());
    benchmark::DoNotOptimize(data.data());
  }
  vesk::Rc6Core::SelectKernel(chosen);
  state.SetBytesProcessed(int64_t(state.iterations()) * state.range(1));
}
void Rc6KernelArgs(benchmark::internal::Benchmark* b) {
  for (int decrypt : {0, 1})
    for (int kernel = 0; kernel <= int(vesk::Rc6Core::Kernel::Avx512); ++kernel) b->Args({kernel, 1 << 20, decrypt});
}
BENCHMARK(BM_Rc6Kernel)->Apply(Rc6KernelArgs);

template <class Cipher>
void BM_CryptoppRc6(benchmark::State& state) {
  CheckSameCiphertext();
  std::vector<uint8_t> data = Pattern(size_t(state.range(0)));
  Cipher c(reinterpret_cast<const CryptoPP::byte*>(kKey), kKeyBytes);
  for (auto _ : state) {
    c.AdvancedProcessBlocks(data.data(), nullptr, data.data(), data.size(), 0);
    benchmark::DoNotOptimize(data.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK_TEMPLATE(BM_CryptoppRc6, CryptoPP::RC6::Encryption)->Arg(1 << 20);
BENCHMARK_TEMPLATE(BM_CryptoppRc6, CryptoPP::RC6::Decryption)->Arg(1 << 20);

void BM_Rc6KeySchedule(benchmark::State& state) {
  const char key[] = "tqwnzkpfe#lmbsdyxauv38Rcgoihjt&NMv,pYkxe";
  vesk::Rc6Core c;
  for (auto _ : state) {
    c.SetKey(reinterpret_cast<const uint8_t*>(key), 160);
    benchmark::DoNotOptimize(c.RoundKeys());
  }
}
BENCHMARK(BM_Rc6KeySchedule);

// Sections of keys with comments, blank lines, mixed letter case, repeated
// keys and double-byte values, about `bytes` long. No line starts with a
// blank: inih would read it as the previous value continued.
std::string ThemeLikeText(size_t bytes) {
  std::string t = "; theme\r\n";
  for (int s = 0; t.size() < bytes; ++s) {
    t += "[Section" + std::to_string(s) + "]\r\n";
    for (int k = 0; k < 40; ++k) {
      t += "Key" + std::to_string(k) + " = " + std::to_string(k * 31) + ",12,200 ; note\r\n";
      if (k % 8 == 0) t += "Caption" + std::to_string(k) + "=\xC4\xE3\xBA\xC3 " + std::to_string(s) + "\r\n";
    }
    t += "key3=again\r\n\r\n";
  }
  return t;
}

const std::string& Text(int64_t bytes) {
  static std::map<int64_t, std::string> texts;
  std::string& t = texts[bytes];
  if (t.empty()) t = ThemeLikeText(size_t(bytes));
  return t;
}

// inih's callback storing every value into one hash map under the lower-cased
// "section\nkey", as a program using it for look-ups would.
typedef std::unordered_map<std::string, std::string> FlatMap;

std::string Lower(const char* s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return out;
}

int StoreValue(void* user, const char* section, const char* name, const char* value) {
  std::string key = Lower(section);
  key += '\n';
  key += Lower(name);
  (*static_cast<FlatMap*>(user))[std::move(key)] = value;
  return 1;
}

// Both parsers read the same keys and values from the text.
void CheckSameIni(const std::string& text) {
  vesk::IniDocument doc;
  Require(doc.Parse(text.data(), text.size()) == vesk::IniParseResult::Ok, "INI parse");
  FlatMap map;
  Require(ini_parse_string(text.c_str(), StoreValue, &map) == 0, "inih parse");
  size_t keys = 0;
  for (size_t s = 0; s < doc.SectionCount(); ++s) {
    const std::string section = Lower(std::string(doc.SectionName(s)).c_str());
    for (const vesk::IniKey& key : doc.Keys(s)) {
      ++keys;
      auto it = map.find(section + '\n' + Lower(std::string(key.name).c_str()));
      Require(it != map.end() && it->second == key.value, "INI value differs from inih");
    }
  }
  Require(keys == map.size(), "INI key count differs from inih");
}

// The text copied into the document, parsed and every key read (what inih
// storing every value does).
void BM_IniParse(benchmark::State& state) {
  const std::string& text = Text(state.range(0));
  CheckSameIni(text);
  for (auto _ : state) {
    vesk::IniDocument doc;
    doc.Parse(text.data(), text.size());
    doc.ReadAllKeys();
    benchmark::DoNotOptimize(doc.SectionCount());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

// The text copied into the document and parsed, no key read.
void BM_IniParseOnly(benchmark::State& state) {
  const std::string& text = Text(state.range(0));
  for (auto _ : state) {
    vesk::IniDocument doc;
    doc.Parse(text.data(), text.size());
    benchmark::DoNotOptimize(doc.SectionCount());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

void BM_InihParse(benchmark::State& state) {
  const std::string& text = Text(state.range(0));
  CheckSameIni(text);
  for (auto _ : state) {
    FlatMap map;
    ini_parse_string(text.c_str(), StoreValue, &map);
    benchmark::DoNotOptimize(map.size());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

// inih's callback storing like for like with ours: a map of sections, each a
// map of keys, names folded the same way (FoldIniName) and looked up without
// building a "section\nkey" string per value.
struct TwoLevelMap {
  std::unordered_map<std::string, std::unordered_map<std::string, std::string>> sections;
  std::string lastSection;  // inih hands the section name with every value
  std::unordered_map<std::string, std::string>* current = nullptr;
};

int StoreTwoLevel(void* user, const char* section, const char* name, const char* value) {
  TwoLevelMap& m = *static_cast<TwoLevelMap*>(user);
  if (!m.current || m.lastSection != section) {
    m.lastSection = section;
    m.current = &m.sections[vesk::FoldIniName(section, std::strlen(section))];
  }
  (*m.current)[vesk::FoldIniName(name, std::strlen(name))] = value;
  return 1;
}

void BM_InihTwoLevel(benchmark::State& state) {
  const std::string& text = Text(state.range(0));
  for (auto _ : state) {
    TwoLevelMap map;
    ini_parse_string(text.c_str(), StoreTwoLevel, &map);
    benchmark::DoNotOptimize(map.sections.size());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

// inih's parser alone, every value dropped: the floor no store can beat.
int DropValue(void*, const char*, const char*, const char*) { return 1; }

void BM_InihBare(benchmark::State& state) {
  const std::string& text = Text(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(ini_parse_string(text.c_str(), DropValue, nullptr));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

const int64_t kSmallText = 230 << 10;
const int64_t kLargeText = 10 << 20;
// Sizes of the fresh-process runs: from a small theme file to far beyond any.
const int64_t kFreshSizes[] = {10 << 10, 230 << 10, 10 << 20, 100 << 20};
const int64_t kLargestFresh = 100 << 20;
BENCHMARK(BM_IniParse)->Arg(kSmallText)->Arg(kLargeText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IniParseOnly)->Arg(kSmallText)->Arg(kLargeText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InihParse)->Arg(kSmallText)->Arg(kLargeText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InihTwoLevel)->Arg(kSmallText)->Arg(kLargeText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InihBare)->Arg(kSmallText)->Arg(kLargeText)->Unit(benchmark::kMillisecond);

// ---- the first parse in a fresh process ------------------------------------
//
// The program parses its INI files once, at start-up, in a process whose heap
// has never been touched: every page the parser writes is a page fault. Each
// sample starts this program anew (--fresh-parse=<parser>:<bytes>), which
// builds the text, times one parse and prints the nanoseconds.

// kFreshOursBuilt also reads the keys of every section, which the document
// does for a section when it is first asked for: the most a program can
// ask of it after the load.
enum FreshParser { kFreshOurs, kFreshInihBare, kFreshInihTwoLevel, kFreshOursBuilt };

int RunFreshSample(int parser, int64_t bytes) {
  std::string text = ThemeLikeText(size_t(bytes));
  // The thread's processor time, page faults included: on a shared machine
  // the wall clock mostly measures the other programs.
  const auto now = [] {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
  };
  const int64_t t0 = now();
  size_t sink = 0;
  if (parser == kFreshOurs) {
    // The program hands the document the text it has read and decoded, as
    // inih reads the text where it lies.
    vesk::IniDocument doc;
    doc.Parse(std::move(text));
    sink = size_t(doc.Empty());
  } else if (parser == kFreshOursBuilt) {
    vesk::IniDocument doc;
    doc.Parse(std::move(text));
    doc.ReadAllKeys();
    sink = doc.SectionCount();
  } else if (parser == kFreshInihBare) {
    sink = size_t(ini_parse_string(text.c_str(), DropValue, nullptr));
  } else {
    TwoLevelMap map;
    ini_parse_string(text.c_str(), StoreTwoLevel, &map);
    sink = map.sections.size();
  }
  const int64_t t1 = now();
  benchmark::DoNotOptimize(sink);
  std::printf("%lld\n", static_cast<long long>(t1 - t0));
  return 0;
}

// One sample: a new process, its printed time.
double FreshSampleSeconds(int parser, int64_t bytes) {
  int out[2];
  Require(pipe(out) == 0, "pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  const std::string arg = "--fresh-parse=" + std::to_string(parser) + ":" + std::to_string(bytes);
  char self[] = "/proc/self/exe";
  char* argv[] = {self, const_cast<char*>(arg.c_str()), nullptr};
  pid_t pid = 0;
  Require(posix_spawn(&pid, self, &actions, nullptr, argv, environ) == 0, "spawn a sample");
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  char buf[64] = {};
  size_t got = 0;
  for (ssize_t r; got < sizeof buf - 1 && (r = read(out[0], buf + got, sizeof buf - 1 - got)) > 0;) got += size_t(r);
  close(out[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  Require(WIFEXITED(status) && WEXITSTATUS(status) == 0 && got > 0, "fresh sample");
  return std::atof(buf) / 1e9;
}

void BM_IniFresh(benchmark::State& state) {
  const int parser = int(state.range(0));
  const int64_t bytes = state.range(1);
  for (auto _ : state) state.SetIterationTime(FreshSampleSeconds(parser, bytes));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Text(bytes).size()));
}

// One sample a repetition and the median of them: a page fault on this
// machine costs from one to tens of microseconds, whatever else runs, and
// a small text's parse is a few of them. A sample of the largest text takes
// seconds with inih's maps: fewer there.
void FreshArgs(benchmark::internal::Benchmark* b, int64_t from, int64_t to) {
  for (int parser : {kFreshOurs, kFreshInihBare, kFreshInihTwoLevel, kFreshOursBuilt})
    for (int64_t bytes : kFreshSizes)
      if (bytes >= from && bytes <= to) b->Args({parser, bytes});
}
BENCHMARK(BM_IniFresh)
    ->Apply([](benchmark::internal::Benchmark* b) { FreshArgs(b, 0, kSmallText); })
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(21)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IniFresh)
    ->Apply([](benchmark::internal::Benchmark* b) { FreshArgs(b, kSmallText + 1, kLargestFresh - 1); })
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IniFresh)
    ->Apply([](benchmark::internal::Benchmark* b) { FreshArgs(b, kLargestFresh, kLargestFresh); })
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

void BM_IniLookup(benchmark::State& state) {
  const std::string& text = Text(kSmallText);
  vesk::IniDocument doc;
  doc.Parse(text.data(), text.size());
  char buf[64];
  for (auto _ : state) benchmark::DoNotOptimize(doc.GetString("SECTION25", "key17", "", buf, sizeof buf));
}
BENCHMARK(BM_IniLookup);

// Keeps each run's bytes per second by name (the median when repeated).
class Collector : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> rate;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      if (r.run_type == Run::RT_Aggregate && r.aggregate_name != "median") continue;
      auto it = r.counters.find("bytes_per_second");
      if (it != r.counters.end()) rate[r.run_name.function_name + "/" + r.run_name.args] = it->second;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Ratio(const char* what, const std::string& ours, const std::string& theirs) const {
    auto a = rate.find(ours), b = rate.find(theirs);
    if (a == rate.end() || b == rate.end()) return;
    std::printf("%-58s %8.1f MB/s vs %8.1f MB/s = %.2fx\n", what, a->second / 1e6, b->second / 1e6,
                a->second / b->second);
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strncmp(argv[1], "--fresh-parse=", 14) == 0) {
    int parser = 0;
    long long bytes = 0;
    if (std::sscanf(argv[1] + 14, "%d:%lld", &parser, &bytes) != 2) return 2;
    return RunFreshSample(parser, bytes);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  Collector c;
  benchmark::RunSpecifiedBenchmarks(&c);
  const std::string mib = std::to_string(1 << 20);
  std::printf("\n");
  c.Ratio("RC6 encipher: ours / Crypto++", "BM_Rc6Encrypt/" + mib, "BM_CryptoppRc6<CryptoPP::RC6::Encryption>/" + mib);
  c.Ratio("RC6 decipher: ours / Crypto++", "BM_Rc6Decrypt/" + mib, "BM_CryptoppRc6<CryptoPP::RC6::Decryption>/" + mib);
  const char* kKernelNames[] = {"portable", "SSE2", "AVX2", "AVX-512"};
  for (int decrypt : {0, 1})
    for (int kernel = 0; kernel <= int(vesk::Rc6Core::Kernel::Avx512); ++kernel) {
      if (!vesk::Rc6Core::KernelAvailable(vesk::Rc6Core::Kernel(kernel))) continue;
      const std::string what =
          std::string(decrypt ? "RC6 decipher " : "RC6 encipher ") + kKernelNames[kernel] + ": ours / Crypto++";
      c.Ratio(what.c_str(), "BM_Rc6Kernel/" + std::to_string(kernel) + "/" + mib + "/" + std::to_string(decrypt),
              std::string("BM_CryptoppRc6<CryptoPP::RC6::") + (decrypt ? "Decryption>/" : "Encryption>/") + mib);
    }
  // Like for like: the parse alone beside inih storing nothing; the parse
  // with every key read beside inih storing every key.
  const std::string small = std::to_string(kSmallText), large = std::to_string(kLargeText);
  for (const std::string& size : {small, large}) {
    const std::string label = "INI warm " + std::string(size == small ? "230 KB" : "10 MB");
    c.Ratio((label + ": ours parsed / inih storing nothing").c_str(), "BM_IniParseOnly/" + size, "BM_InihBare/" + size);
    c.Ratio((label + ": ours, all read / inih + two-level map").c_str(), "BM_IniParse/" + size,
            "BM_InihTwoLevel/" + size);
    c.Ratio((label + ": ours, all read / inih + hash map").c_str(), "BM_IniParse/" + size, "BM_InihParse/" + size);
    c.Ratio((label + ": ours, all read / inih storing nothing").c_str(), "BM_IniParse/" + size, "BM_InihBare/" + size);
  }
  c.Ratio("INI warm ours, all read: 10 MB / 230 KB", "BM_IniParse/" + large, "BM_IniParse/" + small);
  const std::string inihBare = "BM_IniFresh/" + std::to_string(kFreshInihBare) + "/";
  const std::string inihTwoLevel = "BM_IniFresh/" + std::to_string(kFreshInihTwoLevel) + "/";
  for (int64_t bytes : kFreshSizes) {
    const std::string size = std::to_string(bytes);
    const std::string label =
        "INI fresh " + (bytes >= (1 << 20) ? std::to_string(bytes >> 20) + " MB" : std::to_string(bytes >> 10) + " KB");
    const std::string ours = "BM_IniFresh/" + std::to_string(kFreshOurs) + "/" + size;
    const std::string built = "BM_IniFresh/" + std::to_string(kFreshOursBuilt) + "/" + size;
    c.Ratio((label + ": ours parsed / inih storing nothing").c_str(), ours, inihBare + size);
    c.Ratio((label + ": ours, all read / inih + two-level map").c_str(), built, inihTwoLevel + size);
    c.Ratio((label + ": ours, all read / inih storing nothing").c_str(), built, inihBare + size);
  }
  // The same speed whatever the size: the largest fresh text beside the smallest.
  const std::string smallest = std::to_string(kFreshSizes[0]), largest = std::to_string(kLargestFresh);
  c.Ratio("INI fresh ours parsed: 100 MB / 10 KB", "BM_IniFresh/" + std::to_string(kFreshOurs) + "/" + largest,
          "BM_IniFresh/" + std::to_string(kFreshOurs) + "/" + smallest);
  c.Ratio("INI fresh ours, all read: 100 MB / 10 KB", "BM_IniFresh/" + std::to_string(kFreshOursBuilt) + "/" + largest,
          "BM_IniFresh/" + std::to_string(kFreshOursBuilt) + "/" + smallest);
  benchmark::Shutdown();
  return 0;
}
