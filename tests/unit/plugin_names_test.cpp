// File part, base name and the plain file name rule of the plug-in folder.
#include "installer/plugin_names.h"

#include <gtest/gtest.h>

namespace installer {
namespace {

TEST(PlugInNames, FilePartAndBaseName) {
  struct Case {
    const char* path;
    const char* file_part;
    const char* base_name;
  };
  const Case cases[] = {
      {"chart.min.js", "chart.min.js", "chart.min"},
      {"archive", "archive", "archive"},
      {".settings", ".settings", ".settings"},
      {"notes.", "notes.", "notes."},
      {"my file.js", "my file.js", "my file"},
      {"my.file js", "my.file js", "my.file js"},
      {"old\\tool.js", "tool.js", "tool"},
      {"old/tool.js", "tool.js", "tool"},
      {"C:\\Users\\me\\Documents\\KestrolanWeb\\PlugIns\\a\\a.js", "a.js", "a"},
      {"\"quoted.js\"", "quoted.js", "quoted"},
      {"a.b\"c.d", "a.b", "a"},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FilePart(c.path), c.file_part) << c.path;
    EXPECT_EQ(BaseName(c.path), c.base_name) << c.path;
  }
}

TEST(PlugInNames, AcceptsPlainNamesValidOnWindowsAndLinux) {
  for (const char* name : {"chart.min.js", "archive", ".settings", "my file.js", "my.file js",
                           "plug-ïn-✓.js", "CONSOLE.js", "com0.js", "COM10", "lpt.txt", "a..b.js",
                           "x=1[2]#.js"}) {
    EXPECT_TRUE(IsPlainFileName(name)) << name;
  }
}

TEST(PlugInNames, RejectsNamesThatLeaveTheFolderOrBreakOnOnePlatform) {
  for (const char* name : {"", ".", "..", "../evil.js", "..\\evil.js", "dir/a.js", "C:evil.js",
                           "a*.js", "a?.js", "a\".js", "a<b.js", "a>b.js", "a|b.js",
                           "tab\there.js", "bell\x07.js", "del\x7f.js", "notes.", "trailing ",
                           "CON", "con.js", "Nul.tar.gz", "aux", "PRN.txt", "COM1", "lpt9.dll",
                           "CON .js", "a .js", "a..js"}) {
    EXPECT_FALSE(IsPlainFileName(name)) << name;
  }
  EXPECT_FALSE(IsPlainFileName(std::string_view("nul\0.js", 7)));
}

}  // namespace
}  // namespace installer
