// The HostAction handler from argument text to reply, with an in-memory platform.
#include "bridge/host_action.h"

#include <gtest/gtest.h>

#include <new>
#include <vector>

#include "tests/unit/fakes.h"

namespace bridge {
namespace {

using testing_fakes::FakeNotice;
using testing_fakes::FakeStore;

constexpr char kPath[] = "/home/user/Documents/KestrolanWeb/PlugIns/demo/demo.js";

std::string Chunk(int64_t index, int64_t total, const std::string& data,
                  const std::string& file_name = "demo.js") {
  return R"([{"action":"COMPILE_AND_INSTALL","filename":")" + file_name + R"(","data":")" + data +
         R"(","chunkIndex":)" + std::to_string(index) + R"(,"totalChunks":)" +
         std::to_string(total) + "}]";
}

class HostActionTest : public ::testing::Test {
 protected:
  // Replies to the calls in order, "-" for none.
  std::vector<std::string> Run(const std::vector<std::string>& calls) {
    std::vector<std::string> replies;
    for (const auto& call : calls) replies.push_back(handler_.Handle(call).value_or("-"));
    return replies;
  }

  FakeStore store_;
  FakeNotice notice_;
  HostActionHandler handler_{store_, notice_};
};

TEST_F(HostActionTest, SingleRequestInstallsAndRecordsPendingEntry) {
  EXPECT_EQ(Run({R"([{"action":"COMPILE_AND_INSTALL","filename":"demo.js","data":"aGVsbG8="}])"}),
            std::vector<std::string>{R"({"status":"success"})"});
  EXPECT_EQ(store_.files[kPath], "hello");
  EXPECT_EQ(notice_.notified, std::vector<std::string>{kPath});
  EXPECT_EQ(notice_.pending, std::vector<std::string>{kPath});
}

TEST_F(HostActionTest, RunningHostIsToldAndNothingIsPending) {
  notice_.host_running = true;
  EXPECT_EQ(Run({Chunk(0, 1, "aGVsbG8=")})[0], R"({"status":"success"})");
  EXPECT_EQ(notice_.notified.size(), 1u);
  EXPECT_TRUE(notice_.pending.empty());
}

TEST_F(HostActionTest, ChunksInOrderInstallOnTheLast) {
  EXPECT_EQ(Run({Chunk(0, 3, "aGVs"), Chunk(1, 3, "bG8g"), Chunk(2, 3, "d29ybGQ=")}),
            (std::vector<std::string>{"-", "-", R"({"status":"success"})"}));
  EXPECT_EQ(store_.files[kPath], "hello world");
}

TEST_F(HostActionTest, CallsThatAreNotActedOnChangeNothing) {
  // A stray call in the middle of a transfer leaves it intact.
  EXPECT_EQ(Run({Chunk(0, 2, "aGVs"), "[]", "not json", R"([{"action":"OTHER","filename":"a"}])",
                 R"([{"action":"COMPILE_AND_INSTALL","data":"eHh4"}])", Chunk(1, 2, "bG8=")}),
            (std::vector<std::string>{"-", "-", "-", "-", "-", R"({"status":"success"})"}));
  EXPECT_EQ(store_.files[kPath], "hello");
}

TEST_F(HostActionTest, LastChunkOfBrokenTransferInstallsNothing) {
  const std::vector<std::vector<std::string>> transfers = {
      {Chunk(0, 3, "aGVs"), Chunk(2, 3, "d29ybGQ="), Chunk(1, 3, "bG8g")},  // out of order
      {Chunk(0, 2, "aGVs"), Chunk(0, 2, "eHh4", "other.js"), Chunk(1, 2, "bG8=")},  // interleaved
      {Chunk(1, 2, "bG8=")},                                                  // nothing open
  };
  for (const auto& calls : transfers) {
    const std::vector<std::string> replies = Run(calls);
    EXPECT_NE(std::find(replies.begin(), replies.end(), R"({"status":"error"})"), replies.end());
    EXPECT_EQ(std::count(replies.begin(), replies.end(), R"({"status":"success"})"), 0);
  }
  EXPECT_TRUE(store_.files.empty());
  EXPECT_TRUE(notice_.notified.empty());
}

TEST_F(HostActionTest, RepeatedLastChunkGetsTheErrorReply) {
  EXPECT_EQ(Run({Chunk(0, 2, "aGVs"), Chunk(1, 2, "bG8="), Chunk(1, 2, "bG8=")}),
            (std::vector<std::string>{"-", R"({"status":"success"})", R"({"status":"error"})"}));
  EXPECT_EQ(store_.files[kPath], "hel" "lo");
}

TEST_F(HostActionTest, FailedInstallsGetTheErrorReplyAndNoNotice) {
  const std::string calls[] = {
      Chunk(0, 1, ""),                  // empty data
      Chunk(0, 1, "aGVsbG8*"),          // not Base64
      Chunk(0, 1, "aGVsbG8=", "../x.js"),
      Chunk(0, 1, "aGVsbG8=", "sub\\\\x.js"),
  };
  for (const auto& call : calls) EXPECT_EQ(Run({call})[0], R"({"status":"error"})") << call;
  store_.documents.reset();
  EXPECT_EQ(Run({Chunk(0, 1, "aGVsbG8=")})[0], R"({"status":"error"})");
  EXPECT_TRUE(store_.files.empty());
  EXPECT_TRUE(notice_.notified.empty());
  EXPECT_TRUE(notice_.pending.empty());
}

TEST_F(HostActionTest, TotalChunksRules) {
  // totalChunks 0, or digits in strings (read as 0), install at once.
  EXPECT_EQ(Run({Chunk(0, 0, "aGVsbG8=")})[0], R"({"status":"success"})");
  EXPECT_EQ(Run({R"([{"action":"COMPILE_AND_INSTALL","filename":"demo.js","data":"aGk=",)"
                 R"("chunkIndex":"0","totalChunks":"3"}])"})[0],
            R"({"status":"success"})");
  EXPECT_EQ(store_.files[kPath], "hi");
  // Out-of-range numbers are clamped: this is chunk 0 of a transfer that never ends here.
  EXPECT_EQ(Run({R"([{"action":"COMPILE_AND_INSTALL","filename":"demo.js","data":"aGk=",)"
                 R"("chunkIndex":0,"totalChunks":1e400}])"})[0],
            "-");
}

// A platform whose write runs out of memory, as a huge plug-in file can.
class OutOfMemoryStore : public FakeStore {
 public:
  bool ReplaceFile(const std::string&, std::string_view) override { throw std::bad_alloc(); }
};

TEST(HostActionMemory, AllocationFailureDropsTheTransferAndTheProgramGoesOn) {
  OutOfMemoryStore store;
  FakeNotice notice;
  HostActionHandler handler(store, notice);
  EXPECT_EQ(handler.Handle(Chunk(0, 1, "aGVsbG8=")), R"({"status":"error"})");
  EXPECT_TRUE(notice.notified.empty());

  FakeStore good_store;
  HostActionHandler bounded(good_store, notice, 8);
  EXPECT_EQ(bounded.Handle(Chunk(0, 2, "aGVsbG8=")), std::nullopt);
  EXPECT_EQ(bounded.Handle(Chunk(1, 2, "aGVsbG8=")), R"({"status":"error"})");
  EXPECT_EQ(bounded.Handle(Chunk(0, 1, "aGVsbG8=")), R"({"status":"success"})");
}

}  // namespace
}  // namespace bridge
