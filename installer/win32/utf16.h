// Conversions between the program's UTF-8 text and the UTF-16 that Win32 calls take.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace installer::win32 {

// Nothing when `text` is not valid UTF-8; an empty text gives an empty result.
std::optional<std::wstring> Utf8ToWide(std::string_view text);

// Nothing when `text` is not valid UTF-16 (a lone surrogate); an empty text gives an empty result.
std::optional<std::string> WideToUtf8(std::wstring_view text);

}  // namespace installer::win32
