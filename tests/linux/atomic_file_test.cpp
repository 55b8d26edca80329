// Replacing a file in one step: every failure on the way leaves the old file as it was.
#include "installer/linux/atomic_file.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "tests/linux/temp_home.h"

namespace installer::posix {
namespace {

using testing_linux::ReadFile;
using testing_linux::TempHome;
using testing_linux::WriteFile;

size_t EntriesIn(const std::filesystem::path& folder) {
  return std::distance(std::filesystem::directory_iterator(folder), {});
}

TEST(ReplaceFileAtomically, ReplacesContentAndLeavesNoTemporaryFile) {
  TempHome dir;
  const auto target = dir.path() / "a.js";
  WriteFile(target, "old content");
  const std::string big(3 << 20, 'x');
  ASSERT_TRUE(ReplaceFileAtomically(target.string(), big));
  EXPECT_EQ(ReadFile(target), big);
  EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

TEST(ReplaceFileAtomically, FailureOnTheWayKeepsTheOldFile) {
  struct Case {
    const char* name;
    FileCalls calls;
  };
  const FileCalls& real = RealFileCalls();
  const Case cases[] = {
      {"short write then error",
       {[](int fd, const void* b, size_t n) -> ssize_t {
          static bool first = true;
          if (first && n > 1) {
            first = false;
            return ::write(fd, b, n / 2);
          }
          errno = ENOSPC;
          return -1;
        },
        real.fsync, real.rename}},
      {"write that makes no progress", {[](int, const void*, size_t) -> ssize_t { return 0; },
                                        real.fsync, real.rename}},
      {"flush fails", {real.write, [](int) { errno = EIO; return -1; }, real.rename}},
      {"move fails", {real.write, real.fsync, [](const char*, const char*) {
                        errno = EXDEV;
                        return -1;
                      }}},
  };
  for (const auto& c : cases) {
    TempHome dir;
    const auto target = dir.path() / "a.js";
    WriteFile(target, "old content");
    EXPECT_FALSE(ReplaceFileAtomically(target.string(), "new content", c.calls)) << c.name;
    EXPECT_EQ(ReadFile(target), "old content") << c.name;
    EXPECT_EQ(EntriesIn(dir.path()), 1u) << c.name;
  }
}

TEST(ReplaceFileAtomically, MissingFolderFails) {
  TempHome dir;
  EXPECT_FALSE(ReplaceFileAtomically((dir.path() / "none" / "a.js").string(), "x"));
}

}  // namespace
}  // namespace installer::posix
