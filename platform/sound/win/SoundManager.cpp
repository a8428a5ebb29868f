#include "SoundManager.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const FOURCC kWave = mmioFOURCC('W', 'A', 'V', 'E');
const FOURCC kFmt = mmioFOURCC('f', 'm', 't', ' ');
const FOURCC kData = mmioFOURCC('d', 'a', 't', 'a');
// Pan, volume and frequency control.
const DWORD kBufferCaps = DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLFREQUENCY;

// Reads exactly n bytes or fails.
BOOL ReadExact(HMMIO h, void* p, DWORD n) {
  if (n == 0) return TRUE;
  return mmioRead(h, static_cast<HPSTR>(p), static_cast<LONG>(n)) == static_cast<LONG>(n);
}

}  // namespace

// ---- CWaveSound ---------------------------------------------------------------

CWaveSound::CWaveSound(VeskDirectSoundCreateFn pfnCreate, HWND hWndMain)
    : m_pDS(NULL), m_pBuffer(NULL), m_bUsable(FALSE), m_bFailed(FALSE) {
  std::memset(m_pVoices, 0, sizeof m_pVoices);
  m_szKey[0] = 0;
  if (pfnCreate == NULL || FAILED(pfnCreate(NULL, &m_pDS, NULL)) || m_pDS == NULL) {
    m_pDS = NULL;
    m_bFailed = TRUE;
    return;
  }
  // Normal level: the sounds mix with everything else that plays.
  HRESULT hr = (hWndMain != NULL && ::IsWindow(hWndMain)) ? m_pDS->SetCooperativeLevel(hWndMain, DSSCL_NORMAL) : E_FAIL;
  m_bUsable = SUCCEEDED(hr);
}

CWaveSound::~CWaveSound() {
  ReleaseBuffers();
  if (m_pDS != NULL) m_pDS->Release();
}

void CWaveSound::ReleaseBuffers() {
  for (size_t i = 0; i < vesk::kSoundDuplicates; ++i) {
    if (m_pVoices[i] != NULL) m_pVoices[i]->Release();
    m_pVoices[i] = NULL;
  }
  if (m_pBuffer != NULL) m_pBuffer->Release();
  m_pBuffer = NULL;
}

void CWaveSound::SetKey(LPCSTR lpszKey) { lstrcpynA(m_szKey, lpszKey ? lpszKey : "", sizeof m_szKey); }

BOOL CWaveSound::ReadWaveResource(HMODULE hModule, UINT nID, std::vector<BYTE>& bytes) {
  bytes.clear();
  if (hModule == NULL) return FALSE;
  HRSRC hInfo = ::FindResourceA(hModule, MAKEINTRESOURCEA(nID), "WAVE");
  if (hInfo == NULL) return FALSE;
  HGLOBAL hRes = ::LoadResource(hModule, hInfo);
  DWORD size = ::SizeofResource(hModule, hInfo);
  const BYTE* p = hRes ? static_cast<const BYTE*>(::LockResource(hRes)) : NULL;
  if (p == NULL || size == 0) return FALSE;
  bytes.assign(p, p + size);
  return TRUE;
}

BOOL CWaveSound::ReadWaveFile(LPCSTR lpszPath, std::vector<BYTE>& bytes) {
  bytes.clear();
  if (lpszPath == NULL || *lpszPath == 0) return FALSE;
  HANDLE h = ::CreateFileA(lpszPath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
  if (h == INVALID_HANDLE_VALUE) return FALSE;
  LARGE_INTEGER size;
  BOOL ok = ::GetFileSizeEx(h, &size) && size.QuadPart > 0 && size.QuadPart <= kMaxWaveFile;
  if (ok) {
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    ok = ::ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, NULL) && got == bytes.size();
  }
  ::CloseHandle(h);
  if (!ok) bytes.clear();
  return ok;
}

BOOL CWaveSound::LoadFile(LPCSTR lpszPath) {
  std::vector<BYTE> bytes;
  return ReadWaveFile(lpszPath, bytes) && LoadMemory(bytes);
}

BOOL CWaveSound::LoadResource(HMODULE hModule, UINT nID) {
  std::vector<BYTE> bytes;
  return ReadWaveResource(hModule, nID, bytes) && LoadMemory(bytes);
}

BOOL CWaveSound::LoadMemory(std::vector<BYTE>& bytes) {
  if (m_pDS == NULL || m_pBuffer != NULL || bytes.empty()) return FALSE;
  // Every size is checked against the bytes before the device sees any.
  vesk::WaveInfo info;
  if (vesk::ParseWave(bytes.data(), bytes.size(), info) != vesk::WaveResult::Ok) return FALSE;

  MMIOINFO mi;
  std::memset(&mi, 0, sizeof mi);
  mi.fccIOProc = FOURCC_MEM;
  mi.pchBuffer = reinterpret_cast<HPSTR>(bytes.data());
  mi.cchBuffer = static_cast<LONG>(bytes.size());
  HMMIO h = mmioOpenA(NULL, &mi, MMIO_READ);
  if (h == NULL) return FALSE;

  BOOL ok = FALSE;
  do {
    MMCKINFO riff, ck;
    std::memset(&riff, 0, sizeof riff);
    riff.fccType = kWave;
    if (mmioDescend(h, &riff, NULL, MMIO_FINDRIFF) != MMSYSERR_NOERROR) break;
    std::memset(&ck, 0, sizeof ck);
    ck.ckid = kFmt;
    if (mmioDescend(h, &ck, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR) break;
    // 18 bytes of the format; a 16-byte PCM block has no size field.
    WAVEFORMATEX wfx;
    std::memset(&wfx, 0, sizeof wfx);
    DWORD want = ck.cksize < 18 ? ck.cksize : 18;
    if (want < 16 || !ReadExact(h, &wfx, want)) break;
    wfx.cbSize = 0;
    if (wfx.wFormatTag != WAVE_FORMAT_PCM) break;
    if (mmioAscend(h, &ck, 0) != MMSYSERR_NOERROR) break;
    std::memset(&ck, 0, sizeof ck);
    ck.ckid = kData;
    if (mmioDescend(h, &ck, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR) break;
    if (ck.cksize != info.dataSize) break;

    DSBUFFERDESC desc;
    std::memset(&desc, 0, sizeof desc);
    desc.dwSize = sizeof desc;
    desc.dwFlags = kBufferCaps;
    desc.dwBufferBytes = ck.cksize;
    desc.lpwfxFormat = &wfx;
    if (FAILED(m_pDS->CreateSoundBuffer(&desc, &m_pBuffer, NULL)) || m_pBuffer == NULL) {
      m_pBuffer = NULL;
      break;
    }
    void* p1 = NULL;
    void* p2 = NULL;
    DWORD n1 = 0, n2 = 0;
    if (FAILED(m_pBuffer->Lock(0, ck.cksize, &p1, &n1, &p2, &n2, 0))) break;
    // The locked parts never hold more than was asked for.
    BOOL read = p1 != NULL && n1 <= ck.cksize && n2 <= ck.cksize - n1 && ReadExact(h, p1, n1) &&
                (p2 == NULL || ReadExact(h, p2, n2));
    m_pBuffer->Unlock(p1, n1, p2, n2);
    if (!read) break;
    ok = TRUE;
    for (size_t i = 0; i < vesk::kSoundDuplicates && ok; ++i) {
      if (FAILED(m_pDS->DuplicateSoundBuffer(m_pBuffer, &m_pVoices[i])) || m_pVoices[i] == NULL) {
        m_pVoices[i] = NULL;
        ok = FALSE;
      }
    }
  } while (false);
  mmioClose(h, 0);
  if (!ok) ReleaseBuffers();
  return ok;
}

LPDIRECTSOUNDBUFFER CWaveSound::Voice(size_t voice) const {
  if (voice == 0) return m_pBuffer;
  return voice <= vesk::kSoundDuplicates ? m_pVoices[voice - 1] : NULL;
}

size_t CWaveSound::VoiceCount() const { return m_pBuffer != NULL ? 1 + vesk::kSoundDuplicates : 0; }

bool CWaveSound::IsVoicePlaying(size_t voice) const {
  LPDIRECTSOUNDBUFFER b = Voice(voice);
  DWORD status = 0;
  return b != NULL && SUCCEEDED(b->GetStatus(&status)) && (status & DSBSTATUS_PLAYING) != 0;
}

bool CWaveSound::PlayVoice(size_t voice, uint32_t playFlags) {
  LPDIRECTSOUNDBUFFER b = Voice(voice);
  if (b == NULL) return false;
  b->SetCurrentPosition(0);
  return SUCCEEDED(b->Play(0, 0, playFlags));
}

// ---- CSoundManager -------------------------------------------------------------

CSoundManager::CSoundManager()
    : m_bSoundOn(TRUE),
      m_bMusicPlaying(FALSE),
      m_bLastUsable(FALSE),
      m_hWndMain(NULL),
      m_hResModule(NULL),
      m_pfnCreate(&DirectSoundCreate),
      m_pfnMci(&mciSendStringA) {}

CSoundManager::~CSoundManager() { m_cache.Clear(); }

void CSoundManager::SetDirectSoundCreate(VeskDirectSoundCreateFn pfn) { m_pfnCreate = pfn; }
void CSoundManager::SetMciSendString(VeskMciSendStringFn pfn) { m_pfnMci = pfn ? pfn : &mciSendStringA; }

HWND CSoundManager::GetMainWindow() const {
  if (m_hWndMain != NULL) return ::IsWindow(m_hWndMain) ? m_hWndMain : NULL;
  CWnd* pWnd = AfxGetMainWnd();
  HWND hWnd = pWnd != NULL ? pWnd->GetSafeHwnd() : NULL;
  return (hWnd != NULL && ::IsWindow(hWnd)) ? hWnd : NULL;
}

HMODULE CSoundManager::GetResourceModule() const {
  return m_hResModule != NULL ? m_hResModule : static_cast<HMODULE>(AfxGetResourceHandle());
}

BOOL CSoundManager::PlayWaveResource(UINT nID) {
  if (!m_bSoundOn) return FALSE;
  HMODULE hRes = GetResourceModule();
  // Same for a resource that is not there.
  if (hRes == NULL || ::FindResourceA(hRes, MAKEINTRESOURCEA(nID), "WAVE") == NULL) return FALSE;
  ::PlaySoundA(NULL, hRes, SND_PURGE);
  return ::PlaySoundA(MAKEINTRESOURCEA(nID), hRes, SND_RESOURCE | SND_ASYNC | SND_NODEFAULT);
}

BOOL CSoundManager::PlayWaveFile(LPCSTR lpszPath) {
  if (!m_bSoundOn || lpszPath == NULL || *lpszPath == 0) return FALSE;
  // An asynchronous PlaySound reports success for a file it cannot find.
  DWORD attr = ::GetFileAttributesA(lpszPath);
  if (attr == INVALID_FILE_ATTRIBUTES || (attr & FILE_ATTRIBUTE_DIRECTORY) != 0) return FALSE;
  HMODULE hRes = GetResourceModule();
  ::PlaySoundA(NULL, hRes, SND_PURGE);
  // No default beep in place of a missing file.
  return ::PlaySoundA(lpszPath, hRes, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
}

BOOL CSoundManager::PlayCached(const std::string& key, DWORD dwPlayFlags, HMODULE hModule, UINT nID, LPCSTR lpszPath) {
  HWND hWnd = GetMainWindow();
  auto loader = [&](const std::string& k) -> std::unique_ptr<vesk::SoundVoices> {
    std::unique_ptr<CWaveSound> sound(new CWaveSound(m_pfnCreate, hWnd));
    m_bLastUsable = sound->IsUsable();
    if (!sound->IsUsable()) return nullptr;
    sound->SetKey(k.c_str());
    BOOL loaded = lpszPath != NULL ? sound->LoadFile(lpszPath) : sound->LoadResource(hModule, nID);
    if (!loaded) return nullptr;
    return std::unique_ptr<vesk::SoundVoices>(sound.release());
  };
  return m_cache.Play(key, dwPlayFlags, m_bSoundOn != FALSE, hWnd != NULL, loader) == vesk::SoundPlayResult::Played;
}

BOOL CSoundManager::PlaySoundId(UINT nID, DWORD dwPlayFlags) {
  HMODULE hRes = GetResourceModule();
  std::string key = vesk::ResourceSoundKey(reinterpret_cast<uintptr_t>(hRes), nID);
  return PlayCached(key, dwPlayFlags, hRes, nID, NULL);
}

BOOL CSoundManager::PlaySoundFile(LPCSTR lpszPath, DWORD dwPlayFlags) {
  if (lpszPath == NULL || *lpszPath == 0) {
    m_cache.DropIdle();
    return FALSE;
  }
  return PlayCached(lpszPath, dwPlayFlags, NULL, 0, lpszPath);
}

MCIERROR CSoundManager::Mci(LPCSTR lpszCommand, HWND hWndNotify) { return m_pfnMci(lpszCommand, NULL, 0, hWndNotify); }

BOOL CSoundManager::PlayMusic(LPCSTR lpszPath) {
  Mci("close sq", NULL);
  m_bMusicPlaying = FALSE;
  if (!m_bMusicPlayFlag || lpszPath == NULL || *lpszPath == 0 || std::strchr(lpszPath, '"') != NULL) return FALSE;
  // Quoted: a path with spaces is one argument.
  std::string open = std::string("open \"") + lpszPath + "\" type sequencer alias sq";
  if (Mci(open.c_str(), NULL) != 0) return FALSE;
  HWND hWnd = GetMainWindow();
  if (Mci(hWnd != NULL ? "play sq from 0 notify" : "play sq from 0", hWnd) != 0) {
    Mci("close sq", NULL);
    return FALSE;
  }
  m_bMusicPlaying = TRUE;
  return TRUE;
}

void CSoundManager::StopMusic() {
  Mci("close sq", NULL);
  m_bMusicPlaying = FALSE;
}

BOOL CSoundManager::RestartMusic(LPCSTR lpszPath) {
  StopMusic();
  return PlayMusic(lpszPath);
}

void CSoundManager::SkinSoundHook(UINT nSoundId) {
  if (nSoundId != 0) VeskSoundManager().PlaySoundId(nSoundId, 0);
}

CSoundManager& VeskSoundManager() {
  static CSoundManager s_manager;
  return s_manager;
}

BOOL VeskChooseVoice(vesk::VoiceChooser& chooser, LPCSTR lpszFolder, int nVoiceId, BOOL bFemale, int nPhase,
                     LPSTR lpszPath, int nSize) {
  if (lpszPath == NULL || nSize <= 0) return FALSE;
  lpszPath[0] = 0;
  if (lpszFolder == NULL) return FALSE;
  std::string folder = lpszFolder;
  if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  std::string ini = folder + "\\sound.ini";
  char section[16];
  std::snprintf(section, sizeof section, "%d", nVoiceId);
  char list[1024];
  ::GetPrivateProfileStringA(section, bFemale ? "FEMALE" : "MALE", "", list, sizeof list, ini.c_str());
  int range = static_cast<int>(::GetPrivateProfileIntA("RANDOM_RANGE", "SET", vesk::kVoiceDefaultRange, ini.c_str()));
  std::string chosen;
  auto random = []() { return static_cast<unsigned>(std::rand()); };
  auto exists = [](const std::string& p) {
    DWORD attr = ::GetFileAttributesA(p.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY) == 0;
  };
  if (!chooser.Choose(vesk::SplitVoiceList(list), nPhase, range, folder + "\\sound", random, exists, chosen))
    return FALSE;
  if (chosen.size() >= static_cast<size_t>(nSize)) return FALSE;
  std::memcpy(lpszPath, chosen.c_str(), chosen.size() + 1);
  return TRUE;
}
