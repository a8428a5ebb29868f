// Range, position, step and the bouncing "grow" block of CODProgressCtrl, and the timer
// steps of the wait and message dialogs. Portable arithmetic; the window supplies the hooks.
#pragma once

#include <string>

namespace vesk {
namespace odctrls {

enum { kProgressGrow = 0x8000, kProgressGrowReversed = 0x4000 };

class ProgressModel {
 public:
  virtual ~ProgressModel() = default;
  // Position clamped into the range; the changing hook is asked unless force is set.
  void SetPosition(int pos, bool force);
  // Grow mode only (else 0): moves the block, bouncing at the end of the range.
  int GrowStep(int amount, bool relative);
  int SetPos(int pos);
  int OffsetPos(int delta);
  int StepIt() { return OffsetPos(m_step); }
  int SetStep(int step) {
    int old = m_step;
    m_step = step;
    return old;
  }
  // A range with the maximum below the minimum is refused.
  bool SetRange(int lo, int hi);
  void SetBlockLength(int len) { m_blockLength = len < 0 ? 0 : len; }

  unsigned m_style = 0;
  int m_pos = 0, m_min = 0, m_max = 100, m_step = 10;
  int m_blockStart = 0, m_blockLength = 10;

 protected:
  virtual bool OnPosChanging(int oldPos, int newPos) = 0;
  virtual void OnPosChanged(int newPos) = 0;
};

// The wait dialog's tick: mode 0 wraps to the minimum, 1 to the maximum, 2 bounces.
void WaitDialogTick(int mode, ProgressModel& bar);

// The message dialog's tick: true when the dialog ends; text gets "%d " + message.
bool MessageCountdownTick(int* remaining, const std::string& message, std::string* text);

}  // namespace odctrls
}  // namespace vesk
