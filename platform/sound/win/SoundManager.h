// The client's one sound player: short WAVE sounds through PlaySound or
// through a DirectSound cache in which a sound can overlap itself up to
// nine times, and MIDI background music through the MCI sequencer.
#pragma once

#include <afxwin.h>
#include <mmsystem.h>
#include <dsound.h>

#include <vector>

#include "SoundCacheCore.h"
#include "VoiceChoice.h"
#include "WaveCore.h"

typedef HRESULT(WINAPI* VeskDirectSoundCreateFn)(LPCGUID, LPDIRECTSOUND*, LPUNKNOWN);
typedef MCIERROR(WINAPI* VeskMciSendStringFn)(LPCSTR, LPSTR, UINT, HWND);

// One cache entry: its own DirectSound object, the sound buffer and eight
// duplicates of it.
class CWaveSound : public vesk::SoundVoices {
 public:
  CWaveSound(VeskDirectSoundCreateFn pfnCreate, HWND hWndMain);
  virtual ~CWaveSound();

  BOOL IsUsable() const { return m_bUsable; }
  BOOL CreateFailed() const { return m_bFailed; }
  void SetKey(LPCSTR lpszKey);
  LPCSTR GetKey() const { return m_szKey; }

  BOOL LoadFile(LPCSTR lpszPath);
  BOOL LoadResource(HMODULE hModule, UINT nID);
  // A whole WAVE file in memory (a writable copy: mmio reads it as a
  // "MEM " file).
  BOOL LoadMemory(std::vector<BYTE>& bytes);

  // The bytes of a WAVE resource, copied; FALSE when there is none.
  static BOOL ReadWaveResource(HMODULE hModule, UINT nID, std::vector<BYTE>& bytes);
  // The bytes of a WAVE file, up to kMaxWaveFile; FALSE when unreadable or larger.
  static BOOL ReadWaveFile(LPCSTR lpszPath, std::vector<BYTE>& bytes);
  enum { kMaxWaveFile = 32 * 1024 * 1024 };

  // vesk::SoundVoices
  size_t VoiceCount() const override;
  bool IsVoicePlaying(size_t voice) const override;
  bool PlayVoice(size_t voice, uint32_t playFlags) override;

 private:
  void ReleaseBuffers();
  LPDIRECTSOUNDBUFFER Voice(size_t voice) const;

  LPDIRECTSOUND m_pDS;
  LPDIRECTSOUNDBUFFER m_pBuffer;
  LPDIRECTSOUNDBUFFER m_pVoices[vesk::kSoundDuplicates];
  BOOL m_bUsable;
  BOOL m_bFailed;
  char m_szKey[1024];
};

class CSoundManager {
 public:
  CSoundManager();
  ~CSoundManager();

  // The sound switch of the settings (on by default).
  void SetSoundOn(BOOL bOn) { m_bSoundOn = bOn; }
  BOOL IsSoundOn() const { return m_bSoundOn; }
  BOOL IsMusicPlaying() const { return m_bMusicPlaying; }
  // The background music's play flag (on by default): a watcher's start-up clears it
  // until the game data arrived; while it is off no music starts.
  void SetMusicPlayFlag(BOOL bOn) { m_bMusicPlayFlag = bOn; }
  BOOL GetMusicPlayFlag() const { return m_bMusicPlayFlag; }

  // PlaySound: stops what plays, then plays the WAVE resource / file
  // asynchronously. Nothing when sound is off. TRUE when started.
  BOOL PlayWaveResource(UINT nID);
  BOOL PlayWaveFile(LPCSTR lpszPath);

  // The DirectSound cache (play flags of IDirectSoundBuffer::Play).
  BOOL PlaySoundId(UINT nID, DWORD dwPlayFlags = 0);
  BOOL PlaySoundFile(LPCSTR lpszPath, DWORD dwPlayFlags = 0);

  // MIDI music: "close sq", open the file as "sq", play it from the start
  // with a notification to the main window (MM_MCINOTIFY). TRUE when it plays.
  BOOL PlayMusic(LPCSTR lpszPath);
  void StopMusic();
  // Stop and play again from the start (the loop on MCI_NOTIFY_SUCCESSFUL).
  BOOL RestartMusic(LPCSTR lpszPath);

  int GetCacheCount() const { return static_cast<int>(m_cache.Size()); }
  void ClearCache() { m_cache.Clear(); }

  // The window that owns the sound devices and gets the music's
  // notifications; NULL (the default): the application's main window.
  void SetMainWindow(HWND hWnd) { m_hWndMain = hWnd; }
  HWND GetMainWindow() const;
  // The module whose WAVE resources are played; NULL (the default): the
  // application's resource module.
  void SetResourceModule(HMODULE hModule) { m_hResModule = hModule; }
  HMODULE GetResourceModule() const;

  // Seams for tests: the device and the MCI entry points.
  void SetDirectSoundCreate(VeskDirectSoundCreateFn pfn);
  void SetMciSendString(VeskMciSendStringFn pfn);

  // For SetSkinSoundPlayer: the skinned buttons' hover and press sounds
  // through the cache of the process's player (id 0: none).
  static void SkinSoundHook(UINT nSoundId);

 private:
  BOOL PlayCached(const std::string& key, DWORD dwPlayFlags, HMODULE hModule, UINT nID, LPCSTR lpszPath);
  MCIERROR Mci(LPCSTR lpszCommand, HWND hWndNotify);

  BOOL m_bSoundOn;
  BOOL m_bMusicPlaying;
  BOOL m_bMusicPlayFlag = TRUE;
  BOOL m_bLastUsable;
  vesk::SoundCache m_cache;
  HWND m_hWndMain;
  HMODULE m_hResModule;
  VeskDirectSoundCreateFn m_pfnCreate;
  VeskMciSendStringFn m_pfnMci;
};

// The process's one sound player.
CSoundManager& VeskSoundManager();

// The document's voice choice: reads the lists of "sound.ini" in the game
// folder (section "%d" of the voice id, key "FEMALE" or "MALE"; in the play
// phase "SET" of "RANDOM_RANGE", default 30) and writes the chosen file's
// full path ("<folder>\sound\<name>") into the buffer. FALSE when nothing
// is to be said or the path does not fit the buffer.
BOOL VeskChooseVoice(vesk::VoiceChooser& chooser, LPCSTR lpszFolder, int nVoiceId, BOOL bFemale, int nPhase,
                     LPSTR lpszPath, int nSize);
