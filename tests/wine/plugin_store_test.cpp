// The Win32 plug-in store on its own: Documents folder, folders, path limits, and replacing a
// file when a write, the flush or the final move fails half-way.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>

#include "installer/platform.h"
#include "installer/win32/atomic_file.h"
#include "tests/wine/test_support.h"

namespace wine_test {
namespace {

namespace fs = std::filesystem;
using installer::win32::FileCalls;
using installer::win32::RealFileCalls;
using installer::win32::ReplaceFileAtomically;

class PlugInStoreTest : public ::testing::Test {
 protected:
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  static std::vector<std::wstring> Entries(const fs::path& folder) {
    std::vector<std::wstring> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
      names.push_back(entry.path().filename().wstring());
    }
    return names;
  }

  // A path of exactly `length` UTF-16 code units under folder_.
  fs::path PathOfLength(size_t length, const std::wstring& file_name) const {
    const size_t name = length - folder_.wstring().size() - 1 - 1 - file_name.size();
    return folder_ / std::wstring(name, L'f') / file_name;
  }

  const fs::path folder_ = NewTemporaryFolder();
};

// Stand-ins for the calls behind the seam. They keep no state, so each serves every call.

// CreateFileW as Windows has it for programs that are not long-path aware; Wine takes longer
// paths.
HANDLE WINAPI CreateFileBelowMaxPath(LPCWSTR path, DWORD access, DWORD share,
                                     LPSECURITY_ATTRIBUTES security, DWORD creation,
                                     DWORD attributes, HANDLE template_file) {
  if (std::wcslen(path) >= MAX_PATH) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  return CreateFileW(path, access, share, security, creation, attributes, template_file);
}

BOOL WINAPI WriteThreeBytesAtMost(HANDLE file, LPCVOID buffer, DWORD size, LPDWORD written,
                                  LPOVERLAPPED overlapped) {
  return WriteFile(file, buffer, std::min<DWORD>(size, 3), written, overlapped);
}

// Writes half of what it is given until a single byte is left; then the disk is full.
BOOL WINAPI WriteHalfUntilDiskFull(HANDLE file, LPCVOID buffer, DWORD size, LPDWORD written,
                                   LPOVERLAPPED overlapped) {
  if (size < 2) {
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
  }
  return WriteFile(file, buffer, size / 2, written, overlapped);
}

BOOL WINAPI FailFlush(HANDLE) {
  SetLastError(ERROR_IO_DEVICE);
  return FALSE;
}

BOOL WINAPI FailMove(LPCWSTR, LPCWSTR, DWORD) {
  SetLastError(ERROR_ACCESS_DENIED);
  return FALSE;
}

TEST_F(PlugInStoreTest, ReplacesWholeFileOrLeavesItAsItWas) {
  const FileCalls& real = RealFileCalls();
  struct Case {
    const char* name;
    FileCalls calls;
    bool replaced;
  };
  const Case cases[] = {
      {"real calls", real, true},
      {"writes in small pieces",
       {real.create_file, WriteThreeBytesAtMost, real.flush_file_buffers, real.move_file_ex},
       true},
      {"short write, then disk full",
       {real.create_file, WriteHalfUntilDiskFull, real.flush_file_buffers, real.move_file_ex},
       false},
      {"flush fails", {real.create_file, real.write_file, FailFlush, real.move_file_ex}, false},
      {"move fails", {real.create_file, real.write_file, real.flush_file_buffers, FailMove}, false},
  };
  std::string new_bytes;
  for (int i = 0; i < 1024; ++i) new_bytes += static_cast<char>(i);
  const std::string old_bytes = "old plug-in\r\n";
  const fs::path target = folder_ / L"plugin.js";

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes(target, old_bytes);
    EXPECT_EQ(ReplaceFileAtomically(target.wstring(), new_bytes, c.calls), c.replaced);
    EXPECT_EQ(ReadBytes(target), c.replaced ? new_bytes : old_bytes);
    EXPECT_EQ(Entries(folder_), std::vector<std::wstring>{L"plugin.js"}) << "temporary file left";
  }
}

TEST_F(PlugInStoreTest, FailedMoveCreatesNoFile) {
  const FileCalls calls{CreateFileW, WriteFile, FlushFileBuffers, FailMove};
  EXPECT_FALSE(ReplaceFileAtomically((folder_ / L"new.js").wstring(), "bytes", calls));
  EXPECT_TRUE(Entries(folder_).empty());
}

TEST_F(PlugInStoreTest, FilePathsStayBelowMaxPath) {
  // At 259 code units the folder leaves too little room for the usual temporary name beside
  // "a.js"; the file must land all the same.
  for (const size_t length : {size_t{259}, size_t{260}}) {
    SCOPED_TRACE(length);
    const fs::path target = PathOfLength(length, L"a.js");
    ASSERT_EQ(target.wstring().size(), length);
    fs::create_directories(target.parent_path());
    const bool expected = length < 260;
    const FileCalls& real = RealFileCalls();
    const FileCalls calls{CreateFileBelowMaxPath, real.write_file, real.flush_file_buffers,
                          real.move_file_ex};
    EXPECT_EQ(ReplaceFileAtomically(target.wstring(), "js", calls), expected);
    EXPECT_EQ(ReadBytes(target), expected ? "js" : "");
    EXPECT_EQ(Entries(target.parent_path()).size(), expected ? 1u : 0u);
  }
}

TEST_F(PlugInStoreTest, MakeFolderIsTrueOnlyForADirectory) {
  WriteBytes(folder_ / L"file", "x");
  // 260 code units before the separator at the end.
  const std::wstring too_long =
      folder_.wstring() + L"\\" + std::wstring(259 - folder_.wstring().size(), L'f') + L"\\";
  struct Case {
    fs::path path;
    bool made;
  };
  const Case cases[] = {
      {folder_.wstring() + L"\\", true},         // exists already
      {folder_ / L"new\\", true},                // made now
      {folder_ / L"n\u00efw-\u2713", true},      // non-ASCII name
      {folder_ / L"file", false},                // a file is in the way
      {folder_ / L"missing" / L"child", false},  // no parent
      {too_long, false},
  };
  const auto store = installer::MakePlatformPlugInStore();
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.path.wstring()));
    EXPECT_EQ(store->MakeFolder(ToUtf8(c.path.wstring())), c.made);
    EXPECT_EQ(fs::is_directory(c.path), c.made);
  }
}

TEST_F(PlugInStoreTest, DocumentsFolderIsTheShellsWithSeparatorAtTheEnd) {
  const auto store = installer::MakePlatformPlugInStore();
  const std::optional<std::string> documents = store->DocumentsFolder();
  ASSERT_TRUE(documents);
  EXPECT_EQ(store->Separator(), '\\');
  EXPECT_EQ(documents->back(), '\\');
  std::wstring expected = DocumentsFolder().wstring();
  if (expected.back() != L'\\') expected += L'\\';
  EXPECT_EQ(ToWide(*documents), expected);
}

}  // namespace
}  // namespace wine_test
