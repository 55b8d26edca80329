// Base64 decoding: what decodes to which bytes, and every kind of input that must fail.
#include "installer/base64.h"

#include <gtest/gtest.h>

namespace installer {
namespace {

struct DecodeCase {
  const char* text;
  std::string bytes;
};

TEST(DecodeBase64, DecodesValidText) {
  const DecodeCase cases[] = {
      {"", ""},
      {"aGVsbG8=", "hello"},
      {"aGVsbG8", "hello"},             // unpadded final group of three
      {"aGVsbA==", "hell"},
      {"aGVsbA", "hell"},               // unpadded final group of two
      {"aGVs", "hel"},
      {"+/+/", "\xfb\xff\xbf"},         // standard alphabet
      {"-_-_", "\xfb\xff\xbf"},         // URL-safe alphabet
      {"+_-/", "\xfb\xff\xbf"},         // both mixed
      {"aGVs\nbG8=\n", "hello"},        // line breaks, also a trailing one
      {"aGVs\r\nbG8=\r\n", "hello"},
      {" a G\tV s b\vG\f8 = ", "hello"},  // white space anywhere, inside groups too
      {"aGk=aGk=", "hihi"},             // separately encoded texts joined
      {"aA==aGk", "hhi"},
      {"AAAA", std::string(3, '\0')},
      {"QR==", "A"},                    // leftover low bits are dropped
      {"  \n\t", ""},
  };
  for (const auto& c : cases) {
    const std::optional<std::string> decoded = DecodeBase64(c.text);
    ASSERT_TRUE(decoded.has_value()) << c.text;
    EXPECT_EQ(*decoded, c.bytes) << c.text;
  }
}

TEST(DecodeBase64, RejectsMalformedText) {
  const char* const cases[] = {
      "aGVsbG8*",    // character outside both alphabets
      "aGV.bG8=",
      "aGVsbG8=\x80",  // non-ASCII byte
      "a",           // lone final character
      "aGVsb",       // lone character after whole groups
      "aGVsb\n",
      "====",        // padding where data belongs
      "a===",
      "=aGV",
      "aG=s",        // data after padding in one group
      "aGV=s",
      "aG=",         // padding that does not complete the group
      "aGVsbG8=a",   // a lone character after a padded group
      "aGVsbG8==",   // padding beyond the group
  };
  for (const char* text : cases) EXPECT_FALSE(DecodeBase64(text).has_value()) << text;
  EXPECT_FALSE(DecodeBase64(std::string_view("aGVs\0bG8=", 9)).has_value());
}

TEST(DecodeBase64, RoundTripsEveryByteValueAtEveryLength) {
  const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string bytes;
  for (int i = 0; i < 300; ++i) bytes.push_back(static_cast<char>(i * 7 + 3));
  for (size_t length = 0; length <= bytes.size(); length += 1) {
    const std::string input = bytes.substr(0, length);
    std::string text;
    for (size_t i = 0; i < input.size(); i += 3) {
      const size_t n = std::min<size_t>(3, input.size() - i);
      uint32_t bits = 0;
      for (size_t k = 0; k < n; ++k) bits |= static_cast<uint8_t>(input[i + k]) << (16 - 8 * k);
      for (size_t k = 0; k < 4; ++k) text += k <= n ? kAlphabet[(bits >> (18 - 6 * k)) & 63] : '=';
    }
    ASSERT_EQ(DecodeBase64(text), input) << "length " << length;
  }
}

}  // namespace
}  // namespace installer
