#include "SoundCacheCore.h"

#include <cstdio>

namespace vesk {

int PlayFreeVoice(SoundVoices& voices, uint32_t playFlags) {
  size_t n = voices.VoiceCount();
  for (size_t i = 0; i < n; ++i) {
    if (!voices.IsVoicePlaying(i)) return voices.PlayVoice(i, playFlags) ? int(i) : -1;
  }
  return -1;
}

bool VoicesIdle(const SoundVoices& voices) {
  size_t n = voices.VoiceCount();
  for (size_t i = 0; i < n; ++i)
    if (voices.IsVoicePlaying(i)) return false;
  return true;
}

bool SoundKeysEqual(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 0x81 && x <= 0xFE && i + 1 < a.size()) {
      // A double-byte character: both bytes must match exactly.
      if (x != y || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

std::string ResourceSoundKey(uintptr_t module, unsigned id) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%llu_%u", static_cast<unsigned long long>(module), id);
  return buf;
}

void SoundCache::DropIdle() {
  for (size_t i = entries_.size(); i-- > 0;) {
    if (!entries_[i].voices || VoicesIdle(*entries_[i].voices)) entries_.erase(entries_.begin() + i);
  }
}

const SoundVoices* SoundCache::Find(const std::string& key) const {
  for (const Entry& e : entries_)
    if (SoundKeysEqual(e.key, key)) return e.voices.get();
  return nullptr;
}

SoundPlayResult SoundCache::Play(const std::string& key, uint32_t playFlags, bool soundOn, bool usable,
                                 const Loader& loader) {
  DropIdle();
  if (!soundOn) return SoundPlayResult::SoundOff;
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (!SoundKeysEqual(entries_[i].key, key)) continue;
    if (!usable) {
      entries_.erase(entries_.begin() + i);
      return SoundPlayResult::NotUsable;
    }
    return PlayFreeVoice(*entries_[i].voices, playFlags) >= 0 ? SoundPlayResult::Played : SoundPlayResult::AllBusy;
  }
  std::unique_ptr<SoundVoices> voices = loader ? loader(key) : nullptr;
  if (!voices) return SoundPlayResult::LoadFailed;
  entries_.push_back(Entry{key, std::move(voices)});
  return PlayFreeVoice(*entries_.back().voices, playFlags) >= 0 ? SoundPlayResult::Played : SoundPlayResult::AllBusy;
}

}  // namespace vesk
