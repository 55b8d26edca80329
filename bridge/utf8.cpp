// Making text from the browser engine well-formed UTF-8 before the handler reads it.
#include "bridge/utf8.h"

#include <cstdint>

namespace bridge {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Length of the well-formed sequence at `i`, or 0 when it is ill-formed; `consumed` is then the
// length of its maximal subpart, which one U+FFFD replaces.
size_t SequenceLength(std::string_view s, size_t i, size_t& consumed) {
  const auto byte = [&](size_t k) { return static_cast<uint8_t>(s[k]); };
  const uint8_t lead = byte(i);
  size_t length;
  uint8_t low = 0x80, high = 0xBF;  // range of the second byte
  if (lead < 0x80) return consumed = 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    consumed = 1;
    return 0;
  }
  for (size_t k = 1; k < length; ++k) {
    const bool in_range = i + k < s.size() && byte(i + k) >= (k == 1 ? low : 0x80) &&
                          byte(i + k) <= (k == 1 ? high : 0xBF);
    if (!in_range) {
      consumed = k;
      return 0;
    }
  }
  return consumed = length;
}

}  // namespace

std::string ReplaceIllFormedUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    // Runs of ASCII, by far the most common, go in one piece.
    size_t ascii = i;
    while (ascii < text.size() && static_cast<uint8_t>(text[ascii]) < 0x80) ++ascii;
    out.append(text, i, ascii - i);
    i = ascii;
    if (i == text.size()) break;
    size_t consumed = 0;
    if (SequenceLength(text, i, consumed) > 0) {
      out.append(text, i, consumed);
    } else {
      out.append(kReplacement);
    }
    i += consumed;
  }
  return out;
}

}  // namespace bridge
