// Installing one plug-in file: the folder layout and what happens when a step fails.
#include "installer/plugin_installer.h"

#include <gtest/gtest.h>

#include "tests/unit/fakes.h"

namespace installer {
namespace {

using testing_fakes::FakeStore;

TEST(InstallPlugInFile, WritesDecodedBytesIntoTheBaseNameFolder) {
  struct Case {
    const char* file_name;
    const char* full_path;
  };
  const Case cases[] = {
      {"chart.min.js", "/home/user/Documents/KestrolanWeb/PlugIns/chart.min/chart.min.js"},
      {"archive", "/home/user/Documents/KestrolanWeb/PlugIns/archive/archive"},
      {".settings", "/home/user/Documents/KestrolanWeb/PlugIns/.settings/.settings"},
      {"my file.js", "/home/user/Documents/KestrolanWeb/PlugIns/my file/my file.js"},
  };
  for (const auto& c : cases) {
    FakeStore store;
    const InstallResult result = InstallPlugInFile("aGVsbG8=\n", c.file_name, store);
    EXPECT_TRUE(result.written) << c.file_name;
    EXPECT_EQ(result.full_path, c.full_path);
    EXPECT_EQ(store.files[c.full_path], "hello");
    const std::string folder = std::string(c.full_path).substr(0, result.full_path.rfind('/') + 1);
    EXPECT_EQ(store.folders,
              (std::set<std::string>{"/home/user/Documents/KestrolanWeb/",
                                     "/home/user/Documents/KestrolanWeb/PlugIns/", folder}));
  }
}

TEST(InstallPlugInFile, WritesNothingWhenAStepFails) {
  struct Case {
    const char* name;
    const char* text;
    const char* file_name;
    void (*prepare)(FakeStore&);
    size_t folders_made;
  };
  const Case cases[] = {
      {"empty text", "", "a.js", [](FakeStore&) {}, 3},
      {"white space only", " \n", "a.js", [](FakeStore&) {}, 3},
      {"malformed text", "aGVsbG8*", "a.js", [](FakeStore&) {}, 3},
      {"name with folder parts", "aGVsbG8=", "../a.js", [](FakeStore&) {}, 0},
      {"reserved name", "aGVsbG8=", "con.js", [](FakeStore&) {}, 0},
      {"no Documents folder", "aGVsbG8=", "a.js", [](FakeStore& s) { s.documents.reset(); }, 0},
      {"folder refused", "aGVsbG8=", "a.js",
       [](FakeStore& s) { s.refuse_folder = "/home/user/Documents/KestrolanWeb/PlugIns/"; }, 1},
      {"write failed", "aGVsbG8=", "a.js", [](FakeStore& s) { s.fail_writes = true; }, 3},
  };
  for (const auto& c : cases) {
    FakeStore store;
    c.prepare(store);
    EXPECT_FALSE(InstallPlugInFile(c.text, c.file_name, store).written) << c.name;
    EXPECT_TRUE(store.files.empty()) << c.name;
    EXPECT_EQ(store.folders.size(), c.folders_made) << c.name;
  }
}

}  // namespace
}  // namespace installer
