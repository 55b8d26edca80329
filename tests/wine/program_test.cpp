// plugin-generator.exe as the user starts it, under Wine where there is no WebView2 runtime, and
// the resources built into both programs: icon, manifest, version information.
#include <gtest/gtest.h>

#include <map>

#include "tests/wine/executable_file.h"
#include "tests/wine/program_window.h"

namespace wine_test {
namespace {

namespace fs = std::filesystem;

TEST(ProgramTest, WithoutBrowserEngineOpensEmptyWindowAndEndsWithZeroOnClose) {
  const fs::path alone = NewTemporaryFolder();
  fs::copy_file(ProgramFolder() / L"plugin-generator.exe", alone / L"plugin-generator.exe");
  struct Case {
    const char* name;
    fs::path program;
  };
  const Case cases[] = {
      {"webview library beside it", ProgramFolder() / L"plugin-generator.exe"},
      {"no webview library", alone / L"plugin-generator.exe"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectEmptyWindowAndCleanEnd(c.program);
  }
  std::error_code ignored;
  fs::remove_all(alone, ignored);
}

class ProgramResourcesTest : public ::testing::TestWithParam<const wchar_t*> {
 protected:
  fs::path Program() const { return ProgramFolder() / GetParam(); }
};

TEST_P(ProgramResourcesTest, IconGroupOneIsTheProgramIconWithAllFifteenImages) {
  const Resources resources(Program());
  ASSERT_TRUE(resources.loaded());
  EXPECT_EQ(resources.FirstIconGroup(), 1);
  std::optional<std::vector<std::string>> images = resources.IconImages(1);
  ASSERT_TRUE(images.has_value());
  // 16, 24, 32 and 48 px at 4, 8 and 32 bits, and three of 256 px.
  EXPECT_EQ(images->size(), 15u);
  EXPECT_EQ(*images, IcoImages(ReadBytes(ProgramIco())));
}

TEST_P(ProgramResourcesTest, ManifestAsksForCommonControlsSixSystemDpiAndKnowsWindowsVersions) {
  const Resources resources(Program());
  const std::optional<std::string> manifest = resources.Bytes(RT_MANIFEST, 1);
  ASSERT_TRUE(manifest.has_value());
  for (
      const char* text : {
          R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")",
          R"(<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true</dpiAware>)",
          R"(<supportedOS Id="{e2011457-1546-43c5-a5fe-008deee3d3f0}"/>)",  // Vista
          R"(<supportedOS Id="{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"/>)",  // 7
          R"(<supportedOS Id="{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"/>)",  // 8
          R"(<supportedOS Id="{1f676c76-80e1-4239-95bb-83d0f6d0da78}"/>)",  // 8.1
          R"(<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>)",  // 10
      }) {
    EXPECT_NE(manifest->find(text), std::string::npos) << text;
  }
}

TEST_P(ProgramResourcesTest, VersionInformationNamesProductMakerVersionAndFile) {
  const std::map<std::wstring, std::wstring> expected = {
      {L"ProductName", L"Kestrolan Web PlugIn Generator"},
      {L"CompanyName", L"Mardova"},
      {L"ProductVersion", ToWide(PROGRAM_VERSION)},
      {L"FileVersion", ToWide(PROGRAM_VERSION)},
      {L"OriginalFilename", GetParam()},
  };
  const FileVersion version(Program());
  ASSERT_TRUE(version.fixed());
  EXPECT_EQ(version.fixed()->dwFileVersionMS,
            MAKELONG(PROGRAM_VERSION_MINOR, PROGRAM_VERSION_MAJOR));
  EXPECT_EQ(version.fixed()->dwFileVersionLS, MAKELONG(0, PROGRAM_VERSION_PATCH));
  EXPECT_EQ(version.fixed()->dwProductVersionMS, version.fixed()->dwFileVersionMS);
  EXPECT_EQ(version.fixed()->dwProductVersionLS, version.fixed()->dwFileVersionLS);
  for (const auto& [name, value] : expected) {
    EXPECT_EQ(version.Text(name), value) << ToUtf8(name);
  }
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramResourcesTest,
                         ::testing::Values(L"plugin-generator.exe", L"plugin-generator-dev.exe"));

}  // namespace
}  // namespace wine_test
