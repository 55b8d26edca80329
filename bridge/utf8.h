// Making text from the browser engine well-formed UTF-8 before the handler reads it.
#pragma once

#include <string>
#include <string_view>

namespace bridge {

// Replaces each ill-formed sequence (maximal subpart) with U+FFFD, as a UTF-16 conversion would.
std::string ReplaceIllFormedUtf8(std::string_view text);

}  // namespace bridge
