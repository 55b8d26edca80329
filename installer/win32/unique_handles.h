// Move-only owners of the Win32 handles this program opens, so each is released exactly once.
#pragma once

#include <utility>

#include "installer/win32/windows_headers.h"

namespace installer::win32 {

// Owns one value of a handle type; Traits says which values mean "none" and how to release one.
template <typename Traits>
class Unique {
 public:
  using Value = typename Traits::Value;

  Unique() = default;
  explicit Unique(Value value) : value_(value) {}
  Unique(Unique&& other) noexcept : value_(other.Release()) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  ~Unique() { Reset(); }

  Value get() const { return value_; }
  explicit operator bool() const { return !Traits::IsNone(value_); }
  // For calls that hand a new value back through a pointer; the old value is released first.
  Value* Receive() {
    Reset();
    return &value_;
  }
  Value Release() { return std::exchange(value_, Traits::None()); }
  // Releases the owned value, if any, and takes `value`. False when the release failed.
  bool Reset(Value value = Traits::None()) {
    const Value old = std::exchange(value_, value);
    return Traits::IsNone(old) || Traits::Free(old);
  }

 private:
  Value value_ = Traits::None();
};

// Kernel objects: files, pipes, processes. Some calls report failure as NULL, CreateFileW as
// INVALID_HANDLE_VALUE, so neither is ever closed.
struct HandleTraits {
  using Value = HANDLE;
  static Value None() { return nullptr; }
  static bool IsNone(Value v) { return v == nullptr || v == INVALID_HANDLE_VALUE; }
  static bool Free(Value v) { return CloseHandle(v) != 0; }
};

struct KeyTraits {
  using Value = HKEY;
  static Value None() { return nullptr; }
  static bool IsNone(Value v) { return v == nullptr; }
  static bool Free(Value v) { return RegCloseKey(v) == ERROR_SUCCESS; }
};

// The item list the shell allocates for a known folder.
struct ItemListTraits {
  using Value = PIDLIST_ABSOLUTE;
  static Value None() { return nullptr; }
  static bool IsNone(Value v) { return v == nullptr; }
  static bool Free(Value v) {
    CoTaskMemFree(v);
    return true;
  }
};

struct GlobalAtomTraits {
  using Value = ATOM;
  static Value None() { return 0; }
  static bool IsNone(Value v) { return v == 0; }
  static bool Free(Value v) { return GlobalDeleteAtom(v) == 0; }
};

using UniqueHandle = Unique<HandleTraits>;
using UniqueKey = Unique<KeyTraits>;
using UniqueItemList = Unique<ItemListTraits>;
using UniqueGlobalAtom = Unique<GlobalAtomTraits>;

}  // namespace installer::win32
