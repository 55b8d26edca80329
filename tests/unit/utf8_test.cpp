// Text from the engine: well-formed UTF-8 passes unchanged, each ill-formed part becomes U+FFFD.
#include "bridge/utf8.h"

#include <gtest/gtest.h>

namespace bridge {
namespace {

TEST(ReplaceIllFormedUtf8, ReplacesEachMaximalSubpart) {
  const std::string r = "\xEF\xBF\xBD";  // U+FFFD
  struct Case {
    std::string in;
    std::string out;
  };
  const Case cases[] = {
      {"", ""},
      {"[\"plain\"]", "[\"plain\"]"},
      {"\xC3\xA9 \xE2\x9C\x93 \xF0\x9F\x98\x80", "\xC3\xA9 \xE2\x9C\x93 \xF0\x9F\x98\x80"},
      {"a\x80z", "a" + r + "z"},                       // lone continuation byte
      {"a\xC3z", "a" + r + "z"},                       // truncated two-byte sequence
      {"\xE2\x9C", r},                                 // truncated at the end: one replacement
      {"\xF0\x9F\x98z", r + "z"},
      {"\xC0\xAF", r + r},                             // overlong: never a valid lead
      {"\xE0\x80\xAF", r + r + r},                     // overlong three-byte form
      {"\xED\xA0\x80", r + r + r},                     // a UTF-16 surrogate
      {"\xF4\x90\x80\x80", r + r + r + r},             // beyond U+10FFFF
      {"\xF5\x80", r + r},
      {"\xFF", r},
      {std::string("a\0b", 3), std::string("a\0b", 3)},
  };
  for (const auto& c : cases) EXPECT_EQ(ReplaceIllFormedUtf8(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace bridge
