// plugin-generator-dev --replay end to end on Linux: real files, real key file, temporary HOME.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

#include "tests/linux/temp_home.h"

namespace {

using testing_linux::ReadFile;
using testing_linux::TempHome;
using testing_linux::WriteFile;
namespace fs = std::filesystem;

struct Outcome {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// Runs the dev tool with HOME and XDG folders inside `home`, `input` on standard input.
Outcome RunDevTool(const fs::path& home, const std::vector<std::string>& args,
               const std::string& input = "", rlim_t file_size_limit = RLIM_INFINITY) {
  const fs::path in = home / ".stdin", out = home / ".stdout", err = home / ".stderr";
  WriteFile(in, input);
  const pid_t pid = fork();
  if (pid == 0) {
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
    setenv("XDG_DATA_HOME", (home / ".local/share").c_str(), 1);
    setenv("XDG_CACHE_HOME", (home / ".cache").c_str(), 1);
    dup2(open(in.c_str(), O_RDONLY), 0);
    dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
    dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
    // Writing past the limit then fails with EFBIG instead of killing the program.
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{file_size_limit, file_size_limit};
    setrlimit(RLIMIT_FSIZE, &limit);
    std::vector<char*> argv{const_cast<char*>(PLUGIN_GENERATOR_DEV)};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), ReadFile(out),
          ReadFile(err)};
}

std::string Request(const std::string& file_name, const std::string& data, int index = 0,
                    int total = 1) {
  return R"([{"action":"COMPILE_AND_INSTALL","filename":")" + file_name + R"(","data":")" + data +
         R"(","chunkIndex":)" + std::to_string(index) + R"(,"totalChunks":)" +
         std::to_string(total) + "}]\n";
}

class ReplayTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(home_.path() / "Documents"); }

  Outcome Replay(const std::string& calls, rlim_t file_size_limit = RLIM_INFINITY) {
    return RunDevTool(home_.path(), {"--replay", "-"}, calls, file_size_limit);
  }
  fs::path PlugIns() const { return home_.path() / "Documents/KestrolanWeb/PlugIns"; }
  std::string KeyFile() const {
    return ReadFile(home_.path() / ".config/Mardova/KestrolanWeb/PlugIns.ini");
  }

  TempHome home_;
};

TEST_F(ReplayTest, InstallsChunkedTransferAndRecordsPendingEntry) {
  // Every byte value, sent in three chunks; other entries of the key file stay.
  fs::create_directories(home_.path() / ".config/Mardova/KestrolanWeb");
  WriteFile(home_.path() / ".config/Mardova/KestrolanWeb/PlugIns.ini",
            "# kept\n[PlugIns]\nolder.js=/somewhere/older.js\n");
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<char>(i));
  const std::string base64 =
      "AAECAwQFBgcICQoLDA0ODxAREhMUFRYXGBkaGxwdHh8gISIjJCUmJygpKissLS4vMDEyMzQ1Njc4OTo7PD0+P0BBQkNE"
      "RUZHSElKS0xNTk9QUVJTVFVWV1hZWltcXV5fYGFiY2RlZmdoaWprbG1ub3BxcnN0dXZ3eHl6e3x9fn+AgYKDhIWGh4iJ"
      "iouMjY6PkJGSk5SVlpeYmZqbnJ2en6ChoqOkpaanqKmqq6ytrq+wsbKztLW2t7i5uru8vb6/wMHCw8TFxsfIycrLzM3O"
      "z9DR0tPU1dbX2Nna29zd3t/g4eLj5OXm5+jp6uvs7e7v8PHy8/T19vf4+fr7/P3+/w==";
  const std::string calls = Request("chart.min.js", base64.substr(0, 100), 0, 3) +
                            Request("chart.min.js", base64.substr(100, 100), 1, 3) +
                            Request("chart.min.js", base64.substr(200), 2, 3);
  const Outcome run = Replay(calls);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out, "-\n-\n{\"status\":\"success\"}\n");
  const fs::path file = PlugIns() / "chart.min/chart.min.js";
  EXPECT_EQ(ReadFile(file), bytes);
  const std::string key_file = KeyFile();
  EXPECT_NE(key_file.find("chart.min.js=" + file.string() + "\n"), std::string::npos) << key_file;
  EXPECT_NE(key_file.find("older.js=/somewhere/older.js"), std::string::npos) << key_file;
  EXPECT_NE(key_file.find("# kept"), std::string::npos) << key_file;
}

TEST_F(ReplayTest, ReplacesExistingPlugInInOneStep) {
  ASSERT_EQ(Replay(Request("a.js", "b2xk")).out, "{\"status\":\"success\"}\n");  // "old"
  const fs::path file = PlugIns() / "a/a.js";
  std::ifstream reader_of_old(file, std::ios::binary);  // opened before the replace
  ASSERT_EQ(Replay(Request("a.js", "bmV3IQ==")).out, "{\"status\":\"success\"}\n");
  EXPECT_EQ(ReadFile(file), "new!");
  // The old file was swapped, not rewritten: its reader still sees it whole.
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(reader_of_old), {}), "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(PlugIns() / "a"), {}), 1);
}

TEST_F(ReplayTest, FailedWriteLeavesTheOldFileIntact) {
  ASSERT_EQ(Replay(Request("a.js", "b2xk")).out, "{\"status\":\"success\"}\n");
  const fs::path file = PlugIns() / "a/a.js";
  // A file size limit of 64 bytes makes the write of a 120-byte file fail half-way.
  std::string base64;
  for (int i = 0; i < 40; ++i) base64 += "QUFB";
  const Outcome run = Replay(Request("a.js", base64), 64);
  EXPECT_EQ(run.out, "{\"status\":\"error\"}\n");
  EXPECT_EQ(ReadFile(file), "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(PlugIns() / "a"), {}), 1);
}

TEST_F(ReplayTest, RefusesUnsafeNamesAndMissingDocuments) {
  const Outcome run = Replay(Request("../../escape.js", "aGk=") + Request("..", "aGk=") +
                         Request("con.js", "aGk="));
  EXPECT_EQ(run.out, "{\"status\":\"error\"}\n{\"status\":\"error\"}\n{\"status\":\"error\"}\n");
  EXPECT_FALSE(fs::exists(home_.path() / "Documents/KestrolanWeb"));
  EXPECT_FALSE(fs::exists(home_.path() / "Documents/escape.js"));

  fs::remove(home_.path() / "Documents");
  EXPECT_EQ(Replay(Request("a.js", "aGk=")).out, "{\"status\":\"error\"}\n");
  EXPECT_FALSE(fs::exists(home_.path() / "KestrolanWeb"));
  EXPECT_FALSE(fs::exists(home_.path() / "Documents"));
}

TEST_F(ReplayTest, UsesTheXdgDocumentsFolder) {
  fs::create_directories(home_.path() / ".config");
  fs::create_directories(home_.path() / "Papers");
  WriteFile(home_.path() / ".config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n");
  EXPECT_EQ(Replay(Request("a.js", "aGk=")).out, "{\"status\":\"success\"}\n");
  EXPECT_EQ(ReadFile(home_.path() / "Papers/KestrolanWeb/PlugIns/a/a.js"), "hi");
}

TEST_F(ReplayTest, ReadsAFileAndFailsClearlyOnAMissingOne) {
  WriteFile(home_.path() / "calls.txt", "[]\n" + Request("a.js", "aGk="));
  Outcome run = RunDevTool(home_.path(), {"--replay", (home_.path() / "calls.txt").string()});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out, "-\n{\"status\":\"success\"}\n");

  run = RunDevTool(home_.path(), {"--replay", (home_.path() / "missing.txt").string()});
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("missing.txt"), std::string::npos);

  EXPECT_EQ(RunDevTool(home_.path(), {"--no-such-option"}).exit_code, 2);
}

}  // namespace
