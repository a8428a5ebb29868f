#include "ProgressModel.h"

#include <algorithm>
#include <cstdlib>

namespace vesk {
namespace odctrls {

static int Clamp64(long long v) {
  return static_cast<int>(std::max<long long>(INT32_MIN, std::min<long long>(INT32_MAX, v)));
}

bool ProgressModel::SetRange(int lo, int hi) {
  if (hi < lo) return false;
  m_min = lo;
  m_max = hi;
  m_pos = std::max(lo, std::min(hi, m_pos));
  m_blockStart = std::max(lo, std::min(hi, m_blockStart));
  return true;
}

void ProgressModel::SetPosition(int pos, bool force) {
  pos = std::max(m_min, std::min(m_max, pos));
  if (pos == m_pos) return;
  if (OnPosChanging(m_pos, pos) || force) {
    m_pos = pos;
    OnPosChanged(pos);
  }
}

int ProgressModel::GrowStep(int amount, bool relative) {
  if (!(m_style & kProgressGrow)) return 0;
  long long target = amount;
  const long long end = static_cast<long long>(m_max) + m_blockLength;
  if (relative) {
    if (m_pos == m_max && static_cast<long long>(m_max) - m_blockStart < m_blockLength)
      m_pos = Clamp64(static_cast<long long>(m_blockStart) + m_blockLength);
    target = std::llabs(static_cast<long long>(amount)) + m_pos;
  }
  if (target > end) {
    m_style ^= kProgressGrowReversed;
    target = std::min(end, target + m_min - end);
  }
  m_blockStart = Clamp64(std::max<long long>(target - m_blockLength, m_min));
  SetPosition(Clamp64(target), true);
  return 1;
}

int ProgressModel::SetPos(int pos) {
  int old = m_pos;
  if (!GrowStep(pos, false)) SetPosition(pos, true);
  return old;
}

int ProgressModel::OffsetPos(int delta) {
  int old = m_pos;
  if (!GrowStep(delta, true)) SetPosition(Clamp64(static_cast<long long>(m_pos) + delta), true);
  return old;
}

void WaitDialogTick(int mode, ProgressModel& bar) {
  if (mode == 0 && bar.m_pos >= bar.m_max) bar.SetPosition(bar.m_min, true);
  if (mode == 1 && bar.m_pos <= bar.m_min) bar.SetPosition(bar.m_max, true);
  if (mode == 2) {
    if (bar.m_pos >= bar.m_max) bar.SetStep(-1);
    if (bar.m_pos <= bar.m_min) bar.SetStep(1);
  }
  bar.StepIt();
}

bool MessageCountdownTick(int* remaining, const std::string& message, std::string* text) {
  bool end = *remaining <= 1;
  --*remaining;
  *text = std::to_string(*remaining) + " " + message;
  return end;
}

}  // namespace odctrls
}  // namespace vesk
