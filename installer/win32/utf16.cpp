// Conversions between the program's UTF-8 text and the UTF-16 that Win32 calls take.
#include "installer/win32/utf16.h"

#include <climits>

#include "installer/win32/windows_headers.h"

namespace installer::win32 {

// Both calls answer 0 for an empty input as well as for a failure, so an empty input is settled
// before them; they also take int sizes, which no text of this program comes near.

std::optional<std::wstring> Utf8ToWide(std::string_view text) {
  if (text.empty()) return std::wstring();
  if (text.size() > INT_MAX) return std::nullopt;
  const int size = static_cast<int>(text.size());
  const int wide_size =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (wide_size <= 0) return std::nullopt;
  std::wstring wide(static_cast<size_t>(wide_size), L'\0');
  if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(),
                          wide_size) != wide_size) {
    return std::nullopt;
  }
  return wide;
}

std::optional<std::string> WideToUtf8(std::wstring_view text) {
  if (text.empty()) return std::string();
  if (text.size() > INT_MAX) return std::nullopt;
  const int size = static_cast<int>(text.size());
  const int narrow_size = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), size,
                                              nullptr, 0, nullptr, nullptr);
  if (narrow_size <= 0) return std::nullopt;
  std::string narrow(static_cast<size_t>(narrow_size), '\0');
  if (WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), size, narrow.data(),
                          narrow_size, nullptr, nullptr) != narrow_size) {
    return std::nullopt;
  }
  return narrow;
}

}  // namespace installer::win32
