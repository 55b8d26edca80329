// Replaying captured calls: one reply line per call, and the text the page bridge would hand over.
#include "app/replay.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/unit/fakes.h"

namespace app {
namespace {

TEST(Replay, OneLinePerCallWithIllFormedUtf8ReplacedAsTheBridgeDoes) {
  testing_fakes::FakeStore store;
  testing_fakes::FakeNotice notice;
  bridge::HostActionHandler handler(store, notice);
  std::istringstream calls(
      "[]\n"
      "[{\"action\":\"COMPILE_AND_INSTALL\",\"filename\":\"a\xFF.js\",\"data\":\"aGk=\"}]\n");
  std::ostringstream replies;
  Replay(calls, replies, handler);
  EXPECT_EQ(replies.str(), "-\n{\"status\":\"success\"}\n");
  EXPECT_EQ(store.files["/home/user/Documents/KestrolanWeb/PlugIns/a\xEF\xBF\xBD/a\xEF\xBF\xBD.js"],
            "hi");
}

}  // namespace
}  // namespace app
