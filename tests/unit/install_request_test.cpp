// Reading install requests: the accepted forms, member rules, the integer rule, the last chunk.
#include "bridge/install_request.h"

#include <gtest/gtest.h>

#include <limits>

namespace bridge {
namespace {

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();

TEST(InstallRequest, SameRequestInEveryAcceptedForm) {
  const char* const forms[] = {
      R"({"action":"COMPILE_AND_INSTALL","filename":"a.js","data":"QQ==","chunkIndex":2,"totalChunks":5})",
      R"([{"action":"COMPILE_AND_INSTALL","filename":"a.js","data":"QQ==","chunkIndex":2,"totalChunks":5}])",
      R"(["{\"action\":\"COMPILE_AND_INSTALL\",\"filename\":\"a.js\",\"data\":\"QQ==\",\"chunkIndex\":2,\"totalChunks\":5}"])",
      R"("{\"action\":\"COMPILE_AND_INSTALL\",\"filename\":\"a.js\",\"data\":\"QQ==\",\"chunkIndex\":2,\"totalChunks\":5}")",
      " \r\n\t[{\"action\":\"COMPILE_AND_INSTALL\",\"filename\":\"a.js\",\"data\":\"QQ==\","
      "\"chunkIndex\":2,\"totalChunks\":5}, 42, \"ignored\"] \n",
  };
  for (const char* text : forms) {
    const InstallRequest r = ReadInstallRequest(text);
    EXPECT_EQ(r.action, "COMPILE_AND_INSTALL") << text;
    EXPECT_EQ(r.filename, "a.js") << text;
    EXPECT_EQ(r.data, "QQ==") << text;
    EXPECT_EQ(r.chunk_index, 2) << text;
    EXPECT_EQ(r.total_chunks, 5) << text;
    EXPECT_TRUE(IsActedOn(r)) << text;
  }
}

TEST(InstallRequest, TextsWithoutARequestGiveTheDefaults) {
  const char* const texts[] = {
      "", "[]", "[null]", "[42]", "[true]", "[[{\"action\":\"COMPILE_AND_INSTALL\"}]]",
      R"(["[{\"action\":\"COMPILE_AND_INSTALL\",\"filename\":\"a.js\"}]"])",  // string of an array
      R"(["\"{\\\"action\\\":\\\"COMPILE_AND_INSTALL\\\"}\""])",         // string of a string
      R"(["not json"])",
      // Not strict JSON:
      R"([{"action":"COMPILE_AND_INSTALL","filename":"a.js",}])",
      R"([{'action':'COMPILE_AND_INSTALL','filename':'a.js'}])",
      R"([{action:"COMPILE_AND_INSTALL",filename:"a.js"}])",
      R"([{"action":"COMPILE_AND_INSTALL","filename":"a.js"}] x)",
      R"(/*c*/[{"action":"COMPILE_AND_INSTALL","filename":"a.js"}])",
      R"([{"action":"COMPILE_AND_INSTALL","filename":"a.js","chunkIndex":+1}])",
      R"([{"action":"COMPILE_AND_INSTALL","filename":"a.js","chunkIndex":.5}])",
      R"([{"action":"COMPILE_AND_INSTALL","filename":"a.js","chunkIndex":1.}])",
      R"([{"action":"COMPILE_AND_INSTALL","filename":"a.js","chunkIndex":NaN}])",
      R"([{"action":"COMPILE_AND_INSTALL","filename":"a.js","ok":TRUE}])",
      R"([{"action":"COMPILE_AND_INSTALL","filename":"a\x.js"}])",
  };
  for (const char* text : texts) {
    const InstallRequest r = ReadInstallRequest(text);
    EXPECT_EQ(r.action, "") << text;
    EXPECT_EQ(r.filename, "") << text;
    EXPECT_EQ(r.chunk_index, 0) << text;
    EXPECT_EQ(r.total_chunks, 1) << text;
  }
}

TEST(InstallRequest, MemberRules) {
  // Exact names, the last of repeated members, other kinds read as empty text.
  InstallRequest r = ReadInstallRequest(
      R"([{"action":"COMPILE_AND_INSTALL","Filename":"x.js","filename":"a.js","filename":"b.js",)"
      R"("data":7,"extra":{}}])");
  EXPECT_EQ(r.filename, "b.js");
  EXPECT_EQ(r.data, "");

  r = ReadInstallRequest(R"([{"action":"compile_and_install","filename":"a.js"}])");
  EXPECT_FALSE(IsActedOn(r));
  r = ReadInstallRequest(R"([{"action":" COMPILE_AND_INSTALL","filename":"a.js"}])");
  EXPECT_FALSE(IsActedOn(r));
  r = ReadInstallRequest(R"([{"action":"COMPILE_AND_INSTALL","filename":""}])");
  EXPECT_FALSE(IsActedOn(r));
  r = ReadInstallRequest(R"([{"action":"COMPILE_AND_INSTALL","fileName":"a.js"}])");
  EXPECT_FALSE(IsActedOn(r));
  r = ReadInstallRequest(R"([{"action":["COMPILE_AND_INSTALL"],"filename":"a.js"}])");
  EXPECT_FALSE(IsActedOn(r));

  // Escapes, a surrogate pair among them, reach the texts decoded.
  r = ReadInstallRequest(R"([{"filename":"\u00efn\ud83d\ude00\t\"\/.js"}])");
  EXPECT_EQ(r.filename, "\xc3\xafn\xf0\x9f\x98\x80\t\"/.js");
}

TEST(InstallRequest, IntegerRule) {
  struct Case {
    const char* value;
    int64_t integer;
  };
  const Case cases[] = {
      {"7", 7},
      {"-3", -3},
      {"1.9", 1},
      {"-1.9", -1},
      {"2e1", 20},
      {"2.5E+1", 25},
      {"1e-3", 0},
      {"true", 1},
      {"false", 0},
      {"\"12\"", 0},
      {"null", 0},
      {"[1]", 0},
      {"{}", 0},
      {"9223372036854775807", kMax},
      {"-9223372036854775808", kMin},
      // Beyond the 64-bit range: clamped, never a failed parse.
      {"9223372036854775808", kMax},
      {"18446744073709551616", kMax},
      {"-9223372036854775809", kMin},
      {"1e400", kMax},
      {"-1e400", kMin},
      {"123456789012345678901234567890", kMax},
  };
  for (const auto& c : cases) {
    const std::string text = std::string(R"({"chunkIndex":)") + c.value +
                             R"(,"totalChunks":)" + c.value + "}";
    const InstallRequest r = ReadInstallRequest(text);
    EXPECT_EQ(r.chunk_index, c.integer) << c.value;
    EXPECT_EQ(r.total_chunks, c.integer) << c.value;
  }
}

TEST(InstallRequest, LastChunk) {
  struct Case {
    int64_t index;
    int64_t total;
    bool last;
  };
  const Case cases[] = {
      {0, 1, true},   {0, 3, false},  {1, 3, false},   {2, 3, true},      {5, 3, true},
      {0, 0, true},   {-1, 0, true},  {-2, 0, false},  {-4, -3, true},    {-5, -3, false},
      {0, kMin, false}, {kMax - 1, kMin, false}, {kMax, kMin, true},     {kMax, kMax, true},
      {kMax - 2, kMax, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsLastChunk(c.index, c.total), c.last) << c.index << " of " << c.total;
  }
}

}  // namespace
}  // namespace bridge
