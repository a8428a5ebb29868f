// Choice of a spoken voice file for a game event: "sound.ini" in the game
// folder lists, per voice id, the male and female files; one is picked at
// random, a repeat of the last one is avoided, and in the play phase only a
// configured share of the events speaks at all.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vesk {

// A comma-separated list of file names: blanks around a name are dropped,
// an empty remainder after the last comma is no entry, and an empty name
// between commas stays an entry (that can never be played).
std::vector<std::string> SplitVoiceList(const std::string& text);

constexpr int kVoicePhaseBid = 5;   // SCHEDULE_BID: a voice may repeat
constexpr int kVoicePhasePlay = 7;  // SCHEDULE_PLAY: only RANDOM_RANGE/SET percent speak
constexpr int kVoiceDefaultRange = 30;

class VoiceChooser {
 public:
  using Random = std::function<unsigned()>;
  using Exists = std::function<bool(const std::string& path)>;

  // Picks a file of the list (names under soundFolder, joined with '\').
  // Returns false when nothing is to be said: the play phase's draw
  // missed, the list is empty, the file is missing or only the last voice
  // would repeat.
  bool Choose(const std::vector<std::string>& list, int phase, int randomRangeSet, const std::string& soundFolder,
              const Random& random, const Exists& exists, std::string& path);

  const std::string& LastVoice() const { return last_; }

 private:
  std::string last_;
};

}  // namespace vesk
