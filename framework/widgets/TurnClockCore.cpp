#include "TurnClockCore.h"

namespace widgets {

void TurnClockCore::Configure(int tickIntervalSeconds, bool sounds) {
  std::lock_guard<std::mutex> g(m_lock);
  m_nTickInterval = tickIntervalSeconds > 0 ? tickIntervalSeconds : 0;
  m_bSounds = sounds;
}

void TurnClockCore::Start(int seconds) {
  std::lock_guard<std::mutex> g(m_lock);
  if (seconds < 0) seconds = 0;
  // Bounded so that the milliseconds never overflow.
  if (seconds > 99 * 3600) seconds = 99 * 3600;
  m_bRunning = true;
  m_nStartMs = m_nRemainingMs = seconds * 1000;
}

void TurnClockCore::Stop() {
  std::lock_guard<std::mutex> g(m_lock);
  m_bRunning = false;
}

void TurnClockCore::Resume() {
  std::lock_guard<std::mutex> g(m_lock);
  m_bRunning = true;
}

ClockEvent TurnClockCore::Tick(bool paused, bool* changed) {
  std::lock_guard<std::mutex> g(m_lock);
  if (changed) *changed = false;
  if (!m_bRunning || paused || m_nRemainingMs <= 0) return CLOCK_NONE;
  m_nRemainingMs -= CLOCK_STEP_MS;
  if (m_nRemainingMs < 0) m_nRemainingMs = 0;
  if (changed) *changed = true;
  if (m_nRemainingMs == 0) return CLOCK_ZERO;
  if (m_bSounds && m_nTickInterval > 0 && (m_nStartMs - m_nRemainingMs) % (m_nTickInterval * 1000) == 0)
    return CLOCK_TICK_SOUND;
  return CLOCK_NONE;
}

bool TurnClockCore::Running() const {
  std::lock_guard<std::mutex> g(m_lock);
  return m_bRunning;
}

int TurnClockCore::RemainingMs() const {
  std::lock_guard<std::mutex> g(m_lock);
  return m_nRemainingMs;
}

int TurnClockCore::ElapsedMs() const {
  std::lock_guard<std::mutex> g(m_lock);
  return m_nStartMs - m_nRemainingMs;
}

bool TurnClockCore::Expired() const {
  std::lock_guard<std::mutex> g(m_lock);
  return m_bRunning && m_nStartMs > 0 && m_nRemainingMs == 0;
}

std::vector<int> ClockGlyphs(int mode, int s) {
  if (s < 0) s = 0;
  switch (mode) {
    case 2:
      return {(s / 10) % 10, s % 10};
    case 3:
      return {(s / 100) % 10, (s / 10) % 10, s % 10};
    case 8:
      return {(s / 36000) % 10, (s % 36000) / 3600, CLOCK_COLON,   (s % 3600) / 600,
              (s % 600) / 60,   CLOCK_COLON,        (s % 60) / 10, s % 10};
    default:
      return {(s / 600) % 10, (s % 600) / 60, CLOCK_COLON, (s % 60) / 10, s % 10};
  }
}

}  // namespace widgets
