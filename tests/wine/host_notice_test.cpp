// Telling a running host product about a new plug-in, or recording it for the host's next start,
// with host_window_helper.exe standing in for the host product's main window.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "tests/wine/test_support.h"

namespace wine_test {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

using HostNoticeTest = InstallTest;

// The line the helper prints for a plug-in message about `path`: wParam, then the atom's name.
std::string MessageLine(const fs::path& path) {
  return "message " + std::to_string(path.wstring().size()) + " " + ToUtf8(path.wstring());
}

size_t CountMessages(const Lines& lines) {
  return std::count_if(lines.begin(), lines.end(),
                       [](const std::string& line) { return line.rfind("message ", 0) == 0; });
}

TEST_F(HostNoticeTest, HostWindowIsToldOnceAndNothingIsRecorded) {
  for (const wchar_t* title : {L"Kestrolan Web", L"Kestrolan Web 2024"}) {
    SCOPED_TRACE(ToUtf8(title));
    HostWindow host({L"--title", title});
    ASSERT_TRUE(host.ready());
    const Outcome outcome = Replay(Request("demo.js", "aGVsbG8="));
    EXPECT_EQ(outcome.out, kSuccessReply);
    EXPECT_EQ(host.Finish(), (Lines{MessageLine(PlugInFile(L"demo", L"demo.js")), "done"}));
    EXPECT_EQ(PendingEntry(L"demo.js"), std::nullopt);
  }
}

TEST_F(HostNoticeTest, OnlyOneOfTwoHostWindowsIsTold) {
  HostWindow first, second;
  ASSERT_TRUE(first.ready() && second.ready());
  const Outcome outcome = Replay(Request("demo.js", "aGVsbG8="));
  EXPECT_EQ(outcome.out, kSuccessReply);
  EXPECT_EQ(CountMessages(first.Finish()) + CountMessages(second.Finish()), 1u);
  EXPECT_EQ(PendingEntry(L"demo.js"), std::nullopt);
}

TEST_F(HostNoticeTest, WithoutHostWindowEntryIsRecordedOverOldOneAndOthersStay) {
  struct Case {
    const wchar_t* window_class;  // no window when null
    const wchar_t* title;
  };
  const Case cases[] = {
      {nullptr, nullptr},
      {L"TMainForm", L"kestrolan web"},   // case counts
      {L"TMainForm", L"Kestrolan We"},    // shorter than the product name
      {L"TMainFormX", L"Kestrolan Web"},  // class must match exactly
      {L"TMAINFORM", L"Kestrolan Web"},
  };
  const fs::path file = PlugInFile(L"demo", L"demo.js");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.window_class ? ToUtf8(c.window_class) + " / " + ToUtf8(c.title) : "none");
    SetPendingEntry(L"other.js", L"C:\\other\\other.js");
    SetPendingEntry(L"demo.js", L"C:\\old\\demo.js");
    std::optional<HostWindow> window;
    if (c.window_class) {
      window.emplace(std::vector<std::wstring>{L"--class", c.window_class, L"--title", c.title});
      ASSERT_TRUE(window->ready());
    }
    const Outcome outcome = Replay(Request("demo.js", "aGVsbG8="));
    EXPECT_EQ(outcome.out, kSuccessReply);
    if (window) {
      EXPECT_EQ(window->Finish(), Lines{"done"});
    }
    EXPECT_EQ(PendingEntry(L"demo.js"), file.wstring() + L'\0');
    EXPECT_EQ(PendingEntry(L"other.js"), std::wstring(L"C:\\other\\other.js") + L'\0');
  }
}

TEST_F(HostNoticeTest, HungHostWindowIsGivenUpAndEntryIsRecorded) {
  HostWindow host({L"--stall"});
  ASSERT_TRUE(host.ready());
  const Outcome outcome = Replay(Request("demo.js", "aGVsbG8="));
  EXPECT_EQ(outcome.out, kSuccessReply);
  // The send waited for the window (so it was found) and gave up within its bound.
  EXPECT_GE(outcome.milliseconds, 4000u);
  EXPECT_LT(outcome.milliseconds, 20000u);
  EXPECT_EQ(PendingEntry(L"demo.js"), PlugInFile(L"demo", L"demo.js").wstring() + L'\0');
}

struct PlugInName {
  std::wstring base;
  std::wstring file;
};

// A plug-in name that makes the full path Documents\KestrolanWeb\PlugIns\<base>\<file> exactly
// `length` UTF-16 code units long.
PlugInName NameForPathLength(const fs::path& documents, size_t length) {
  const fs::path plug_ins = documents / L"KestrolanWeb" / L"PlugIns" / L"";
  const size_t rest = length - plug_ins.wstring().size() - 1;  // base + extension + base
  const std::wstring extension = rest % 2 ? L".js" : L".jsx";
  const std::wstring base((rest - extension.size()) / 2, L'p');
  return {base, base + extension};
}

TEST_F(HostNoticeTest, PathLengthDecidesBetweenMessageEntryAndRefusal) {
  // Atom names end at 255 code units, Win32 paths at 259.
  struct Case {
    size_t length;
    bool message;
    bool entry;
    bool installed;
  };
  const Case cases[] = {
      {255, true, false, true},
      {256, false, true, true},
      {259, false, true, true},
      {260, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    const PlugInName name = NameForPathLength(documents_, c.length);
    const std::wstring& file_name = name.file;
    const fs::path file = PlugInFile(name.base, file_name);
    ASSERT_EQ(file.wstring().size(), c.length);
    HostWindow host;
    ASSERT_TRUE(host.ready());

    const Outcome outcome = Replay(Request(ToUtf8(file_name), "aGVsbG8="));
    EXPECT_EQ(outcome.out, c.installed ? kSuccessReply : kErrorReply);
    EXPECT_EQ(ReadBytes(file), c.installed ? "hello" : "");
    const Lines expected = c.message ? Lines{MessageLine(file), "done"} : Lines{"done"};
    EXPECT_EQ(host.Finish(), expected);
    const std::optional<std::wstring> entry =
        c.entry ? std::optional(file.wstring() + L'\0') : std::nullopt;
    EXPECT_EQ(PendingEntry(file_name), entry);
  }
}

}  // namespace
}  // namespace wine_test
