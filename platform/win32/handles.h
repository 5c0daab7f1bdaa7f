// Owning wrappers for Win32 handles: every handle the backend opens is closed on every path.
#pragma once

#include "platform/win32/win.h"

#include <utility>

namespace platform::win32 {

template <typename Traits>
class UniqueResource {
 public:
  using Value = typename Traits::Value;

  UniqueResource() = default;
  explicit UniqueResource(Value value) : value_(value) {}
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  UniqueResource(UniqueResource&& other) noexcept : value_(other.Release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  ~UniqueResource() { Reset(); }

  bool Valid() const { return Traits::Valid(value_); }
  explicit operator bool() const { return Valid(); }
  Value Get() const { return value_; }
  // For out-parameters: closes what is held and hands out the slot.
  Value* Receive() {
    Reset();
    return &value_;
  }
  Value Release() { return std::exchange(value_, Traits::Invalid()); }
  void Reset(Value value = Traits::Invalid()) {
    if (Traits::Valid(value_)) Traits::Close(value_);
    value_ = value;
  }

 private:
  Value value_ = Traits::Invalid();
};

// CreateFile and friends fail with INVALID_HANDLE_VALUE; token and semaphore calls with null.
struct KernelHandleTraits {
  using Value = HANDLE;
  static Value Invalid() { return nullptr; }
  static bool Valid(Value h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Value h) { ::CloseHandle(h); }
};

struct FindHandleTraits {
  using Value = HANDLE;
  static Value Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Valid(Value h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
  static void Close(Value h) { ::FindClose(h); }
};

struct SidTraits {
  using Value = PSID;
  static Value Invalid() { return nullptr; }
  static bool Valid(Value sid) { return sid != nullptr; }
  static void Close(Value sid) { ::FreeSid(sid); }
};

using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueFind = UniqueResource<FindHandleTraits>;
using UniqueSid = UniqueResource<SidTraits>;

}  // namespace platform::win32
