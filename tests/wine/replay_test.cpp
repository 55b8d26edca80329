// plugin-generator-dev --replay end to end under Wine: files in the prefix's Documents folder,
// pending entries in its registry, and the dev tool's own failures.
#include <gtest/gtest.h>

#include "tests/wine/test_support.h"

namespace wine_test {
namespace {

namespace fs = std::filesystem;

using ReplayTest = InstallTest;

TEST_F(ReplayTest, InstallsFileAndRecordsPendingEntryWhenNoHostRuns) {
  struct Case {
    const char* name;
    std::string calls;
    std::string replies;
    std::wstring folder;
    std::wstring file;
    std::string bytes;
  };
  const Case cases[] = {
      {"one call", Request("demo.js", "aGVsbG8="), kSuccessReply, L"demo", L"demo.js", "hello"},
      {"three chunks",
       Request("chart.min.js", "aGVs", 0, 3) + Request("chart.min.js", "bG8g", 1, 3) +
           Request("chart.min.js", "d29ybGQ=", 2, 3),
       std::string("-\n-\n") + kSuccessReply, L"chart.min", L"chart.min.js", "hello world"},
      {"non-ASCII name, binary bytes", Request("plug-\u00efn-\u2713.js", "AP8NChog"), kSuccessReply,
       L"plug-\u00efn-\u2713", L"plug-\u00efn-\u2713.js", std::string("\0\xff\r\n\x1a\x20", 6)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome outcome = Replay(c.calls);
    EXPECT_EQ(outcome.exit_code, 0u) << outcome.err;
    EXPECT_EQ(outcome.out, c.replies);
    const fs::path file = PlugInFile(c.folder, c.file);
    EXPECT_EQ(ReadBytes(file), c.bytes);
    EXPECT_EQ(PendingEntry(c.file), file.wstring() + L'\0');
  }
}

TEST_F(ReplayTest, ReplacesExistingPlugInFileAndLeavesNoTemporaryFile) {
  const Outcome outcome =
      Replay(Request("demo.js", "aGVsbG8gYWdhaW4=") + Request("demo.js", "Ynll"));
  EXPECT_EQ(outcome.out, std::string(kSuccessReply) + kSuccessReply);
  EXPECT_EQ(ReadBytes(PlugInFile(L"demo", L"demo.js")), "bye");
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(PlugInFile(L"demo", L""))) {
    files.push_back(entry.path().filename());
  }
  EXPECT_EQ(files, std::vector<fs::path>{L"demo.js"});
}

TEST_F(ReplayTest, ReadsCallsFromFileWithNonAsciiName) {
  const Outcome outcome = Replay(Request("demo.js", "aGVsbG8="), L"calls-\u00ef\u2713.txt");
  EXPECT_EQ(outcome.exit_code, 0u) << outcome.err;
  EXPECT_EQ(outcome.out, kSuccessReply);
}

TEST_F(ReplayTest, BadArgumentsExitWithCodeTwoAndSayWhy) {
  struct Case {
    std::vector<std::wstring> args;
    std::string message;
  };
  const Case cases[] = {
      {{L"--replay", (calls_folder_ / L"missing.txt").wstring()}, "cannot read"},
      {{L"--replay", L"calls-\xD800.txt"}, "not valid Unicode"},
      {{L"--replay"}, "usage"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    const Outcome outcome = RunDevTool(c.args);
    EXPECT_EQ(outcome.exit_code, 2u);
    EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
    EXPECT_EQ(outcome.out, "");
  }
}

}  // namespace
}  // namespace wine_test
