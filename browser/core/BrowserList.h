// The open browsers in creation order. The runtime's UI thread adds and removes
// entries while the exports read the first one on the host's thread, so every
// access holds the lock; readers get a copy of the entry, never a reference.
#pragma once

#include <algorithm>
#include <mutex>
#include <vector>

namespace brellin {

template <class T, class Same>
class BrowserList {
 public:
  explicit BrowserList(Same same = Same()) : same_(same) {}

  void Add(const T& item) {
    std::lock_guard<std::mutex> lock(mutex_);
    items_.push_back(item);
  }

  // Removes the first entry that is the same browser; returns true when the list is now empty.
  bool Remove(const T& item) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = std::find_if(items_.begin(), items_.end(), [&](const T& e) { return same_(e, item); });
    if (it != items_.end()) items_.erase(it);
    return items_.empty();
  }

  bool First(T* out) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (items_.empty()) return false;
    *out = items_.front();
    return true;
  }

  size_t Size() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return items_.size();
  }

 private:
  mutable std::mutex mutex_;
  std::vector<T> items_;
  Same same_;
};

}  // namespace brellin
