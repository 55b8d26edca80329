// Loading the webview library at run time, from the folder of the running executable.
#include <gtest/gtest.h>

#include "tests/wine/test_support.h"
#include "webview/webview_api.h"

namespace wine_test {
namespace {

TEST(WebViewLoaderTest, ExecutableFolderIsUtf8WithTrailingSeparator) {
  EXPECT_EQ(webview::ExecutableFolder(), ToUtf8(ProgramFolder().wstring()) + "\\");
  EXPECT_EQ(webview::LibraryFileName(), "libwebview.dll");
}

TEST(WebViewLoaderTest, LibraryBesideTheProgramLoadsWithEveryFunction) {
  // This test program is built next to the copy of the library.
  const webview::Api* api = webview::LoadApi();
  ASSERT_NE(api, nullptr);
  EXPECT_NE(api->create, nullptr);
  EXPECT_NE(api->destroy, nullptr);
  EXPECT_NE(api->get_native_handle, nullptr);
  EXPECT_NE(api->navigate, nullptr);
  EXPECT_NE(api->set_size, nullptr);
  EXPECT_NE(api->bind, nullptr);
  EXPECT_NE(api->return_result, nullptr);
  EXPECT_EQ(webview::LoadApi(), api);  // loaded once
}

}  // namespace
}  // namespace wine_test
