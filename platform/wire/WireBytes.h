// Little-endian readers and writers over message bodies. The reader never reads
// past the end: every read reports failure instead, and a failed reader stays failed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace wire {

class Reader {
 public:
  Reader(const void* data, size_t size) : p_(static_cast<const uint8_t*>(data)), size_(size) {}

  bool ok() const { return ok_; }
  size_t pos() const { return pos_; }
  size_t remaining() const { return ok_ ? size_ - pos_ : 0; }
  const uint8_t* here() const { return p_ + pos_; }

  bool U8(uint8_t* v) { return Fixed(v, 1); }
  bool U16(uint16_t* v) {
    uint8_t b[2];
    if (!Fixed(b, 2)) return *v = 0, false;
    *v = static_cast<uint16_t>(b[0] | (b[1] << 8));
    return true;
  }
  bool U32(uint32_t* v) {
    uint8_t b[4];
    if (!Fixed(b, 4)) return *v = 0, false;
    *v = uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
    return true;
  }
  bool I32(int32_t* v) {
    uint32_t u;
    if (!U32(&u)) return *v = 0, false;
    *v = static_cast<int32_t>(u);
    return true;
  }
  bool Skip(size_t n) {
    if (!ok_ || n > size_ - pos_) return ok_ = false;
    pos_ += n;
    return true;
  }
  bool Bytes(void* out, size_t n) { return Fixed(out, n); }
  // A fixed text field of n bytes: the text up to its first zero (or all n bytes).
  bool Field(size_t n, std::string* out) {
    if (!ok_ || n > size_ - pos_) return ok_ = false;
    const char* s = reinterpret_cast<const char*>(p_ + pos_);
    out->assign(s, strnlen(s, n));
    pos_ += n;
    return true;
  }
  // A zero-terminated text; a text running to the end of the body without a zero is
  // taken as it stands (`terminated` tells which).
  bool CString(std::string* out, bool* terminated = nullptr) {
    if (!ok_) return false;
    const char* s = reinterpret_cast<const char*>(p_ + pos_);
    size_t n = strnlen(s, size_ - pos_);
    out->assign(s, n);
    bool zero = n < size_ - pos_;
    if (terminated) *terminated = zero;
    pos_ += n + (zero ? 1 : 0);
    return true;
  }

 private:
  // A failed read leaves zeros behind, never stale or uninitialised bytes.
  bool Fixed(void* out, size_t n) {
    if (!ok_ || n > size_ - pos_) {
      std::memset(out, 0, n);
      return ok_ = false;
    }
    std::memcpy(out, p_ + pos_, n);
    pos_ += n;
    return true;
  }
  const uint8_t* p_;
  size_t size_;
  size_t pos_ = 0;
  bool ok_ = true;
};

class Writer {
 public:
  void U8(uint8_t v) { b_.push_back(v); }
  void U16(uint16_t v) {
    b_.push_back(static_cast<uint8_t>(v));
    b_.push_back(static_cast<uint8_t>(v >> 8));
  }
  void U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) b_.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  // A fixed field of n bytes, zero-filled; a longer text is cut so that a zero ends it.
  void Field(const std::string& s, size_t n) {
    size_t len = s.size() < n ? s.size() : (n ? n - 1 : 0);
    b_.insert(b_.end(), s.begin(), s.begin() + static_cast<std::ptrdiff_t>(len));
    b_.insert(b_.end(), n - len, 0);
  }
  void CString(const std::string& s) {
    b_.insert(b_.end(), s.begin(), s.end());
    b_.push_back(0);
  }
  void Bytes(const void* p, size_t n) {
    const uint8_t* q = static_cast<const uint8_t*>(p);
    b_.insert(b_.end(), q, q + n);
  }
  const std::vector<uint8_t>& bytes() const { return b_; }
  std::vector<uint8_t> Take() { return std::move(b_); }

 private:
  std::vector<uint8_t> b_;
};

}  // namespace wire
