// The Windows sound player under Wine: with the sound drivers off every call
// fails fast and returns; with a fake DirectSound device the cache keeps
// at most nine voices per sound and drops idle sounds; the resource
// library's WAVE sounds are playable PCM; the MCI music commands come in order.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "SoundManager.h"
#include "WaveTestUtil.h"
#include "resource.h"

namespace {

const UINT kWaveIds[] = {IDW_DEAL, IDW_PLAYCARD, IDW_REFUSED, IDW_HOVER,  IDW_TICK,       IDW_TIMEUP, IDW_READY,
                         IDW_BID,  IDW_LOSE,     IDW_BOMB,    IDW_BIGWIN, IDW_PLAYERLEFT, IDW_WIN,    IDW_START};

// ---- a fake sound device ----------------------------------------------------------

struct FakeWorld {
  int liveObjects = 0;  // device objects and buffers not yet released
  int devicesCreated = 0;
  int buffersCreated = 0;
  int duplicates = 0;
  int failDuplicateAt = -1;  // the n-th duplicate (counting from 0) fails
  DWORD lastCaps = 0;
  WAVEFORMATEX lastFormat{};
  HWND coopWindow = NULL;
  DWORD coopLevel = 0;
};
FakeWorld g_world;

struct SharedSamples {
  std::vector<BYTE> bytes;
};

class FakeBuffer final : public IDirectSoundBuffer {
 public:
  explicit FakeBuffer(std::shared_ptr<SharedSamples> s) : samples(std::move(s)) { ++g_world.liveObjects; }
  STDMETHOD_(HRESULT, QueryInterface)(REFIID, void** ppv) override {
    *ppv = NULL;
    return E_NOINTERFACE;
  }
  STDMETHOD_(ULONG, AddRef)() override { return ++refs; }
  STDMETHOD_(ULONG, Release)() override {
    ULONG r = --refs;
    if (r == 0) {
      --g_world.liveObjects;
      delete this;
    }
    return r;
  }
  STDMETHOD(GetCaps)(LPDSBCAPS) override { return E_NOTIMPL; }
  STDMETHOD(GetCurrentPosition)(LPDWORD, LPDWORD) override { return E_NOTIMPL; }
  STDMETHOD(GetFormat)(LPWAVEFORMATEX, DWORD, LPDWORD) override { return E_NOTIMPL; }
  STDMETHOD(GetVolume)(LPLONG) override { return E_NOTIMPL; }
  STDMETHOD(GetPan)(LPLONG) override { return E_NOTIMPL; }
  STDMETHOD(GetFrequency)(LPDWORD) override { return E_NOTIMPL; }
  STDMETHOD(GetStatus)(LPDWORD status) override {
    *status = playing ? DSBSTATUS_PLAYING : 0;
    return DS_OK;
  }
  STDMETHOD(Initialize)(LPDIRECTSOUND, LPCDSBUFFERDESC) override { return DSERR_ALREADYINITIALIZED; }
  // Two parts, as a ring buffer would give them.
  STDMETHOD(Lock)(DWORD off, DWORD n, LPVOID* p1, LPDWORD n1, LPVOID* p2, LPDWORD n2, DWORD) override {
    if (off != 0 || n != samples->bytes.size()) return DSERR_INVALIDPARAM;
    DWORD half = n / 2;
    *p1 = samples->bytes.data();
    *n1 = half;
    *p2 = half < n ? samples->bytes.data() + half : NULL;
    *n2 = n - half;
    return DS_OK;
  }
  STDMETHOD(Play)(DWORD, DWORD, DWORD flags) override {
    playing = true;
    lastPlayFlags = flags;
    return DS_OK;
  }
  STDMETHOD(SetCurrentPosition)(DWORD) override { return DS_OK; }
  STDMETHOD(SetFormat)(LPCWAVEFORMATEX) override { return E_NOTIMPL; }
  STDMETHOD(SetVolume)(LONG) override { return DS_OK; }
  STDMETHOD(SetPan)(LONG) override { return DS_OK; }
  STDMETHOD(SetFrequency)(DWORD) override { return DS_OK; }
  STDMETHOD(Stop)() override {
    playing = false;
    return DS_OK;
  }
  STDMETHOD(Unlock)(LPVOID, DWORD, LPVOID, DWORD) override { return DS_OK; }
  STDMETHOD(Restore)() override { return DS_OK; }

  std::shared_ptr<SharedSamples> samples;
  ULONG refs = 1;
  bool playing = false;
  DWORD lastPlayFlags = 0;
};
std::vector<FakeBuffer*> g_buffers;  // every buffer made (the tests stop them)

class FakeDevice final : public IDirectSound {
 public:
  FakeDevice() { ++g_world.liveObjects; }
  STDMETHOD_(HRESULT, QueryInterface)(REFIID, void** ppv) override {
    *ppv = NULL;
    return E_NOINTERFACE;
  }
  STDMETHOD_(ULONG, AddRef)() override { return ++refs; }
  STDMETHOD_(ULONG, Release)() override {
    ULONG r = --refs;
    if (r == 0) {
      --g_world.liveObjects;
      delete this;
    }
    return r;
  }
  STDMETHOD(CreateSoundBuffer)(LPCDSBUFFERDESC d, LPLPDIRECTSOUNDBUFFER out, IUnknown*) override {
    ++g_world.buffersCreated;
    g_world.lastCaps = d->dwFlags;
    g_world.lastFormat = *d->lpwfxFormat;
    auto s = std::make_shared<SharedSamples>();
    s->bytes.assign(d->dwBufferBytes, 0xCD);
    FakeBuffer* b = new FakeBuffer(s);
    g_buffers.push_back(b);
    *out = b;
    return DS_OK;
  }
  STDMETHOD(GetCaps)(LPDSCAPS) override { return E_NOTIMPL; }
  STDMETHOD(DuplicateSoundBuffer)(LPDIRECTSOUNDBUFFER orig, LPLPDIRECTSOUNDBUFFER out) override {
    if (g_world.duplicates++ == g_world.failDuplicateAt) {
      *out = NULL;
      return DSERR_OUTOFMEMORY;
    }
    FakeBuffer* b = new FakeBuffer(static_cast<FakeBuffer*>(orig)->samples);
    g_buffers.push_back(b);
    *out = b;
    return DS_OK;
  }
  STDMETHOD(SetCooperativeLevel)(HWND hwnd, DWORD level) override {
    g_world.coopWindow = hwnd;
    g_world.coopLevel = level;
    return ::IsWindow(hwnd) ? DS_OK : DSERR_INVALIDPARAM;
  }
  STDMETHOD(Compact)() override { return DS_OK; }
  STDMETHOD(GetSpeakerConfig)(LPDWORD) override { return E_NOTIMPL; }
  STDMETHOD(SetSpeakerConfig)(DWORD) override { return E_NOTIMPL; }
  STDMETHOD(Initialize)(LPCGUID) override { return DSERR_ALREADYINITIALIZED; }
  ULONG refs = 1;
};

HRESULT WINAPI FakeCreate(LPCGUID, LPDIRECTSOUND* out, LPUNKNOWN) {
  ++g_world.devicesCreated;
  *out = new FakeDevice;
  return DS_OK;
}

HRESULT WINAPI NoDeviceCreate(LPCGUID, LPDIRECTSOUND* out, LPUNKNOWN) {
  *out = NULL;
  return DSERR_NODRIVER;
}

std::vector<std::string> g_mci;
MCIERROR g_mciOpenResult = 0;
MCIERROR WINAPI RecordMci(LPCSTR cmd, LPSTR, UINT, HWND hwnd) {
  g_mci.push_back(std::string(cmd) + (hwnd ? " [hwnd]" : ""));
  return std::strncmp(cmd, "open", 4) == 0 ? g_mciOpenResult : 0;
}

void StopAllVoices() {
  for (FakeBuffer* b : g_buffers)
    if (g_world.liveObjects > 0) b->playing = false;
}

struct Fixture : ::testing::Test {
  HMODULE res = NULL;
  HWND wnd = NULL;
  std::unique_ptr<CSoundManager> mgr;

  void SetUp() override {
    res = ::LoadLibraryExA(VESK_RES_DLL, NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(res, (HMODULE)NULL);
    wnd = ::CreateWindowA("STATIC", "sound", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    ASSERT_NE(wnd, (HWND)NULL);
    g_world = FakeWorld();
    g_buffers.clear();
    g_mci.clear();
    g_mciOpenResult = 0;
    mgr.reset(new CSoundManager);
    mgr->SetResourceModule(res);
    mgr->SetMainWindow(wnd);
  }
  void TearDown() override {
    mgr.reset();
    EXPECT_EQ(g_world.liveObjects, 0) << "device objects left unreleased";
    g_buffers.clear();
    if (wnd) ::DestroyWindow(wnd);
    if (res) ::FreeLibrary(res);
  }
  std::string TempWave(const char* name, const std::vector<uint8_t>& bytes) {
    char dir[MAX_PATH];
    ::GetTempPathA(MAX_PATH, dir);
    std::string path = std::string(dir) + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return path;
  }
};

}  // namespace

TEST_F(Fixture, ResourceLibraryWavesArePlayablePcm) {
  for (UINT id : kWaveIds) {
    std::vector<BYTE> bytes;
    ASSERT_TRUE(CWaveSound::ReadWaveResource(res, id, bytes)) << id;
    vesk::WaveInfo info;
    EXPECT_EQ(vesk::ParseWave(bytes.data(), bytes.size(), info), vesk::WaveResult::Ok) << id;
    EXPECT_EQ(info.format.formatTag, 1) << id;
  }
  std::vector<BYTE> bytes;
  EXPECT_FALSE(CWaveSound::ReadWaveResource(res, 999, bytes));
  EXPECT_FALSE(CWaveSound::ReadWaveResource(NULL, IDW_DEAL, bytes));
}

TEST_F(Fixture, WithoutSoundDriversEveryCallFailsSafelyAndReturns) {
  // The real DirectSound and MCI of this machine: no sound card.
  std::string wav = TempWave("vesk_sound_nodrv.wav", wavetest::SimpleWave());
  mgr->PlayWaveResource(IDW_DEAL);
  EXPECT_FALSE(mgr->PlayWaveResource(999));
  mgr->PlayWaveFile(wav.c_str());
  EXPECT_FALSE(mgr->PlayWaveFile("Z:\\no\\such\\file.wav"));
  EXPECT_FALSE(mgr->PlayWaveFile(""));
  for (int i = 0; i < 3; ++i) {
    mgr->PlaySoundId(IDW_DEAL, 0);
    mgr->PlaySoundFile(wav.c_str(), 0);
  }
  EXPECT_FALSE(mgr->PlaySoundFile("Z:\\no\\such\\file.wav", 0));
  EXPECT_FALSE(mgr->PlaySoundFile(NULL, 0));
  EXPECT_LE(mgr->GetCacheCount(), 2);
  EXPECT_FALSE(mgr->PlayMusic("Z:\\no\\such\\song.mid"));
  EXPECT_FALSE(mgr->IsMusicPlaying());
  EXPECT_FALSE(mgr->PlayMusic(wav.c_str()));  // not a MIDI file
  EXPECT_FALSE(mgr->IsMusicPlaying());
  mgr->StopMusic();
  EXPECT_FALSE(mgr->RestartMusic(NULL));
  // No window at all: nothing is cached.
  mgr->ClearCache();
  mgr->SetMainWindow(NULL);
  EXPECT_FALSE(mgr->PlaySoundId(IDW_DEAL, 0));
  EXPECT_EQ(mgr->GetCacheCount(), 0);
  CSoundManager::SkinSoundHook(IDW_HOVER);
  CSoundManager::SkinSoundHook(0);
  ::DeleteFileA(wav.c_str());
}

TEST_F(Fixture, DeviceThatCannotBeCreatedCachesNothing) {
  mgr->SetDirectSoundCreate(&NoDeviceCreate);
  EXPECT_FALSE(mgr->PlaySoundId(IDW_DEAL, 0));
  mgr->SetDirectSoundCreate(NULL);
  EXPECT_FALSE(mgr->PlaySoundId(IDW_DEAL, 0));
  EXPECT_EQ(mgr->GetCacheCount(), 0);
}

TEST_F(Fixture, NineVoicesOfOneSoundAndTheTenthDropped) {
  mgr->SetDirectSoundCreate(&FakeCreate);
  for (int i = 0; i < 9; ++i) EXPECT_TRUE(mgr->PlaySoundId(IDW_DEAL, DSBPLAY_LOOPING)) << i;
  EXPECT_FALSE(mgr->PlaySoundId(IDW_DEAL, 0));
  EXPECT_EQ(g_world.devicesCreated, 1);  // loaded once
  EXPECT_EQ(g_world.buffersCreated, 1);
  EXPECT_EQ(mgr->GetCacheCount(), 1);
  EXPECT_EQ(g_world.coopWindow, wnd);
  EXPECT_EQ(g_world.coopLevel, (DWORD)DSSCL_NORMAL);
  EXPECT_EQ(g_world.lastCaps, 0xE0u);
  ASSERT_EQ(g_buffers.size(), 9u);
  EXPECT_EQ(g_buffers[0]->lastPlayFlags, (DWORD)DSBPLAY_LOOPING);

  // The buffer holds exactly the resource's samples.
  std::vector<BYTE> bytes;
  ASSERT_TRUE(CWaveSound::ReadWaveResource(res, IDW_DEAL, bytes));
  vesk::WaveInfo info;
  ASSERT_EQ(vesk::ParseWave(bytes.data(), bytes.size(), info), vesk::WaveResult::Ok);
  EXPECT_EQ(g_world.lastFormat.nSamplesPerSec, info.format.samplesPerSec);
  EXPECT_EQ(g_world.lastFormat.cbSize, 0);
  ASSERT_EQ(g_buffers[0]->samples->bytes.size(), info.dataSize);
  EXPECT_EQ(0, std::memcmp(g_buffers[0]->samples->bytes.data(), bytes.data() + info.dataOffset, info.dataSize));

  // A second sound while the first plays: two entries; when all voices end,
  // the next request drops both idle entries before loading anew.
  EXPECT_TRUE(mgr->PlaySoundId(IDW_BID, 0));
  EXPECT_EQ(mgr->GetCacheCount(), 2);
  StopAllVoices();
  EXPECT_TRUE(mgr->PlaySoundId(IDW_WIN, 0));
  EXPECT_EQ(mgr->GetCacheCount(), 1);
  EXPECT_EQ(g_world.devicesCreated, 3);
}

TEST_F(Fixture, SoundOffAndLostWindow) {
  mgr->SetDirectSoundCreate(&FakeCreate);
  EXPECT_TRUE(mgr->PlaySoundId(IDW_DEAL, 0));
  EXPECT_TRUE(mgr->PlaySoundId(IDW_BID, 0));
  mgr->SetSoundOn(FALSE);
  EXPECT_FALSE(mgr->PlayWaveResource(IDW_DEAL));
  EXPECT_FALSE(mgr->PlayWaveFile("x.wav"));
  StopAllVoices();
  g_buffers[0]->playing = true;  // the first sound still plays
  EXPECT_FALSE(mgr->PlaySoundId(IDW_WIN, 0));
  EXPECT_EQ(mgr->GetCacheCount(), 1);  // only the idle entry went
  EXPECT_EQ(g_world.devicesCreated, 2);
  mgr->SetSoundOn(TRUE);
  // The window is gone: the cached entry is dropped, not played.
  ::DestroyWindow(wnd);
  wnd = NULL;
  EXPECT_FALSE(mgr->PlaySoundId(IDW_DEAL, 0));
  EXPECT_EQ(mgr->GetCacheCount(), 0);
}

TEST_F(Fixture, FilesThroughTheCacheArePcmOnlyAndWhole) {
  mgr->SetDirectSoundCreate(&FakeCreate);
  std::string good = TempWave("vesk_sound_good.wav", wavetest::SimpleWave(64));
  std::vector<uint8_t> c;
  wavetest::Chunk(c, "fmt ", wavetest::Fmt(2));  // ADPCM
  wavetest::Chunk(c, "data", std::vector<uint8_t>(64));
  std::string adpcm = TempWave("vesk_sound_adpcm.wav", wavetest::Riff(c));
  c.clear();
  wavetest::Chunk(c, "fmt ", wavetest::Fmt());
  wavetest::Chunk(c, "data", std::vector<uint8_t>(64), 4096);  // claims more than there is
  std::string cut = TempWave("vesk_sound_cut.wav", wavetest::Riff(c));

  EXPECT_FALSE(mgr->PlaySoundFile(adpcm.c_str(), 0));
  EXPECT_FALSE(mgr->PlaySoundFile(cut.c_str(), 0));
  EXPECT_EQ(g_world.buffersCreated, 0);
  EXPECT_EQ(mgr->GetCacheCount(), 0);
  EXPECT_TRUE(mgr->PlaySoundFile(good.c_str(), 0));
  EXPECT_EQ(g_world.buffersCreated, 1);
  EXPECT_EQ(g_buffers[0]->samples->bytes, std::vector<BYTE>(128, 0x11));
  // The same file named in other letter case is the same entry.
  std::string upper = good;
  for (char& ch : upper) ch = static_cast<char>(::toupper(static_cast<unsigned char>(ch)));
  EXPECT_TRUE(mgr->PlaySoundFile(upper.c_str(), 0));
  EXPECT_EQ(g_world.buffersCreated, 1);
  for (const std::string& p : {good, adpcm, cut}) ::DeleteFileA(p.c_str());
}

TEST_F(Fixture, AFailedDuplicateFailsTheLoadAndReleasesEverything) {
  mgr->SetDirectSoundCreate(&FakeCreate);
  g_world.failDuplicateAt = 5;
  EXPECT_FALSE(mgr->PlaySoundId(IDW_DEAL, 0));
  EXPECT_EQ(mgr->GetCacheCount(), 0);
  EXPECT_EQ(g_world.liveObjects, 0);
}

TEST_F(Fixture, MusicCommandsInOrder) {
  mgr->SetMciSendString(&RecordMci);
  EXPECT_TRUE(mgr->PlayMusic("C:\\My Music\\a.mid"));
  EXPECT_TRUE(mgr->IsMusicPlaying());
  EXPECT_TRUE(mgr->PlayMusic("b.mid"));
  std::vector<std::string> want = {
      "close sq",
      "open \"C:\\My Music\\a.mid\" type sequencer alias sq",
      "play sq from 0 notify [hwnd]",
      "close sq",
      "open \"b.mid\" type sequencer alias sq",
      "play sq from 0 notify [hwnd]",
  };
  EXPECT_EQ(g_mci, want);
  g_mci.clear();
  mgr->StopMusic();
  EXPECT_FALSE(mgr->IsMusicPlaying());
  EXPECT_EQ(g_mci, std::vector<std::string>{"close sq"});

  // A file the sequencer cannot open is not reported as playing.
  g_mciOpenResult = MCIERR_FILE_NOT_FOUND;
  g_mci.clear();
  EXPECT_FALSE(mgr->PlayMusic("gone.mid"));
  EXPECT_FALSE(mgr->IsMusicPlaying());
  EXPECT_EQ(g_mci.size(), 2u);
  g_mciOpenResult = 0;
  EXPECT_FALSE(mgr->PlayMusic("a\"b.mid"));
  EXPECT_FALSE(mgr->PlayMusic(""));
  // Without a window there is nobody to notify.
  mgr->SetMainWindow(NULL);
  g_mci.clear();
  EXPECT_TRUE(mgr->RestartMusic("c.mid"));
  EXPECT_EQ(g_mci.back(), "play sq from 0");
}

TEST(VoiceFiles, ChosenFromSoundIniOfTheGameFolder) {
  char tmp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, tmp);
  std::string folder = std::string(tmp) + "vesk_voice_test";
  ::CreateDirectoryA(folder.c_str(), NULL);
  ::CreateDirectoryA((folder + "\\sound").c_str(), NULL);
  std::string ini = folder + "\\sound.ini";
  ::WritePrivateProfileStringA("12", "MALE", "m1.wav,", ini.c_str());
  ::WritePrivateProfileStringA("12", "FEMALE", "f1.wav", ini.c_str());
  ::WritePrivateProfileStringA("RANDOM_RANGE", "SET", "100", ini.c_str());
  for (const char* name : {"m1.wav", "f1.wav"}) {
    FILE* f = std::fopen((folder + "\\sound\\" + name).c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
  }
  vesk::VoiceChooser chooser;
  char path[MAX_PATH];
  ASSERT_TRUE(VeskChooseVoice(chooser, folder.c_str(), 12, FALSE, 3, path, sizeof path));
  EXPECT_EQ(std::string(path), folder + "\\sound\\m1.wav");
  EXPECT_FALSE(VeskChooseVoice(chooser, folder.c_str(), 12, FALSE, 3, path, sizeof path));  // no repeat
  EXPECT_TRUE(VeskChooseVoice(chooser, (folder + "\\").c_str(), 12, TRUE, 7, path, sizeof path));
  EXPECT_EQ(std::string(path), folder + "\\sound\\f1.wav");
  EXPECT_FALSE(VeskChooseVoice(chooser, folder.c_str(), 13, TRUE, 5, path, sizeof path));  // no section
  char small[8];
  EXPECT_FALSE(VeskChooseVoice(chooser, folder.c_str(), 12, FALSE, 5, small, sizeof small));
  EXPECT_EQ(small[0], 0);
  EXPECT_FALSE(VeskChooseVoice(chooser, folder.c_str(), 12, FALSE, 5, NULL, 100));
  EXPECT_FALSE(VeskChooseVoice(chooser, folder.c_str(), 12, FALSE, 5, path, 0));
  ::DeleteFileA((folder + "\\sound\\m1.wav").c_str());
  ::DeleteFileA((folder + "\\sound\\f1.wav").c_str());
  ::DeleteFileA(ini.c_str());
  ::RemoveDirectoryA((folder + "\\sound").c_str());
  ::RemoveDirectoryA(folder.c_str());
}
