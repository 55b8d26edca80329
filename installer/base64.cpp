// Strict Base64 decoding of the text a page sends for a plug-in file.
#include "installer/base64.h"

#include <array>
#include <cstdint>

namespace installer {
namespace {

constexpr uint8_t kInvalid = 0xFF;
constexpr uint8_t kSpace = 0xFE;
constexpr uint8_t kPad = 0xFD;

constexpr std::array<uint8_t, 256> MakeTable() {
  std::array<uint8_t, 256> table{};
  for (auto& entry : table) entry = kInvalid;
  for (int i = 0; i < 26; ++i) {
    table['A' + i] = static_cast<uint8_t>(i);
    table['a' + i] = static_cast<uint8_t>(26 + i);
  }
  for (int i = 0; i < 10; ++i) table['0' + i] = static_cast<uint8_t>(52 + i);
  table['+'] = table['-'] = 62;
  table['/'] = table['_'] = 63;
  for (char c : {' ', '\t', '\n', '\r', '\f', '\v'}) table[static_cast<uint8_t>(c)] = kSpace;
  table['='] = kPad;
  return table;
}

constexpr std::array<uint8_t, 256> kTable = MakeTable();

uint8_t ValueAt(std::string_view text, size_t i) {
  return kTable[static_cast<unsigned char>(text[i])];
}

}  // namespace

std::optional<std::string> DecodeBase64(std::string_view text) {
  std::string out(text.size() / 4 * 3 + 3, '\0');  // at most this many bytes
  char* put = out.data();
  const size_t n = text.size();
  size_t i = 0;
  while (true) {
    // Fast path: four alphabet characters in a row, the common case for long texts.
    while (i + 4 <= n) {
      const uint8_t a = ValueAt(text, i), b = ValueAt(text, i + 1), c = ValueAt(text, i + 2),
                    d = ValueAt(text, i + 3);
      if ((a | b | c | d) & 0xC0) break;
      const uint32_t bits = (a << 18) | (b << 12) | (c << 6) | d;
      *put++ = static_cast<char>(bits >> 16);
      *put++ = static_cast<char>(bits >> 8);
      *put++ = static_cast<char>(bits);
      i += 4;
    }
    // Slow path: one group, character by character, skipping white space.
    uint8_t group[4];
    int count = 0;
    int pads = 0;
    while (i < n && count + pads < 4) {
      const uint8_t v = ValueAt(text, i++);
      if (v == kSpace) continue;
      if (v == kInvalid) return std::nullopt;
      if (v == kPad) {
        if (count < 2) return std::nullopt;
        ++pads;
      } else {
        if (pads > 0) return std::nullopt;
        group[count++] = v;
      }
    }
    if (count + pads == 0) break;  // only white space was left
    if (pads > 0 && count + pads < 4) return std::nullopt;
    if (count < 2) return std::nullopt;
    uint32_t bits = 0;
    for (int k = 0; k < count; ++k) bits |= static_cast<uint32_t>(group[k]) << (18 - 6 * k);
    *put++ = static_cast<char>(bits >> 16);
    if (count > 2) *put++ = static_cast<char>(bits >> 8);
    if (count > 3) *put++ = static_cast<char>(bits);
  }
  out.resize(static_cast<size_t>(put - out.data()));
  return out;
}

}  // namespace installer
