// The turn clock's counting: a 250 ms step that the clock's own thread calls, the sounds
// it asks for, and the glyphs of the display. Portable; the window class draws and plays.
#pragma once
#include <mutex>
#include <vector>

namespace widgets {

enum ClockEvent { CLOCK_NONE, CLOCK_TICK_SOUND, CLOCK_ZERO };

enum { CLOCK_STEP_MS = 250, CLOCK_COLON = 10 };

// Shared between the clock's thread (Tick) and the UI thread (everything else): every
// member is read and written under one lock.
class TurnClockCore {
 public:
  // The tick sound every `tickIntervalSeconds` of elapsed time (0: none); `sounds` off
  // keeps both sounds quiet.
  void Configure(int tickIntervalSeconds, bool sounds);
  void Start(int seconds);
  void Stop();
  void Resume();
  // One step. Nothing while stopped, paused or already at zero; `changed` tells whether
  // the display must be redrawn.
  ClockEvent Tick(bool paused, bool* changed);

  bool Running() const;
  int RemainingMs() const;
  int ElapsedMs() const;
  // Still at zero after the command was due (a stop in between cancels it).
  bool Expired() const;

 private:
  mutable std::mutex m_lock;
  bool m_bRunning = false;
  bool m_bSounds = true;
  int m_nTickInterval = 0;
  int m_nStartMs = 0;
  int m_nRemainingMs = 0;
};

// Glyph indexes (0..9, CLOCK_COLON) for `seconds` in display mode 2, 3, 5 or 8 (any
// other mode is 5: m:ss with tens of minutes).
std::vector<int> ClockGlyphs(int mode, int seconds);

}  // namespace widgets
