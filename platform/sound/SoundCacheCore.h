// Bookkeeping of the sound player's cache of loaded sounds: one entry per
// sound (a file path or a resource), each with a main buffer and eight
// duplicates so that the same sound can overlap itself up to nine times.
// The device side (DirectSound on Windows, fakes in tests) sits behind
// SoundVoices.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vesk {

// Voices of one loaded sound: voice 0 is the sound buffer, the rest its
// duplicates.
class SoundVoices {
 public:
  virtual ~SoundVoices() = default;
  virtual size_t VoiceCount() const = 0;
  virtual bool IsVoicePlaying(size_t voice) const = 0;
  virtual bool PlayVoice(size_t voice, uint32_t playFlags) = 0;
};

constexpr size_t kSoundDuplicates = 8;  // voices besides the main buffer

// The first voice that is not playing gets the sound; -1 when all play.
int PlayFreeVoice(SoundVoices& voices, uint32_t playFlags);

// True when no voice of the entry plays any more.
bool VoicesIdle(const SoundVoices& voices);

// Cache keys compare without regard to case; the second byte of a
// double-byte (GBK) character is compared as it is.
bool SoundKeysEqual(const std::string& a, const std::string& b);

// Key of a WAVE resource: module handle and id, "%d_%d" in decimal (the
// handle pointer-sized).
std::string ResourceSoundKey(uintptr_t module, unsigned id);

enum class SoundPlayResult {
  SoundOff,    // sound switched off: only idle entries were dropped
  Played,      // a voice started
  AllBusy,     // all nine voices of the sound play: this start is dropped
  NotUsable,   // the cached entry lost its window: it was removed
  LoadFailed,  // the device, the window or the sound could not be used
};

class SoundCache {
 public:
  // Creates and loads the voices of a sound for a key; nullptr on any
  // failure (no device, no window, bad file, not PCM ...).
  using Loader = std::function<std::unique_ptr<SoundVoices>(const std::string& key)>;

  // Drops, from the last to the first, every entry none of whose voices
  // plays.
  void DropIdle();

  // One play request: drop idle entries; when sound is on, play the
  // cached sound for the key (when the window is still usable) or load
  // it, cache it and play it.
  SoundPlayResult Play(const std::string& key, uint32_t playFlags, bool soundOn, bool usable, const Loader& loader);

  size_t Size() const { return entries_.size(); }
  const SoundVoices* Find(const std::string& key) const;
  void Clear() { entries_.clear(); }

 private:
  struct Entry {
    std::string key;
    std::unique_ptr<SoundVoices> voices;
  };
  std::vector<Entry> entries_;
};

}  // namespace vesk
