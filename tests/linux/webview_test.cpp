// The shell and the page bridge on the real browser engine (WebKitGTK) under Xvfb, with pages
// served from 127.0.0.1 and a temporary home.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <boost/json.hpp>
#include <functional>
#include <thread>

#include "tests/linux/child_process.h"
#include "tests/linux/temp_home.h"

namespace {

using namespace std::chrono_literals;
using testing_linux::ChildProcess;
using testing_linux::ReadFile;
using testing_linux::TempHome;
namespace fs = std::filesystem;
namespace json = boost::json;

// One X server and one page server for all tests here.
class Servers : public ::testing::Environment {
 public:
  static inline std::string display;
  static inline std::string port;
  static inline std::string other_port;  // a second origin: the same pages on another port
  static inline fs::path reports;

  void SetUp() override {
    xvfb_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"Xvfb", "-displayfd", "1", "-screen", "0", "1600x1000x24",
                                 "-nolisten", "tcp"},
        std::map<std::string, std::string>{});
    display = ":" + xvfb_->ReadLine(20s).value_or("");
    // A window manager, as on a desktop: without one X11 has no maximized windows.
    window_manager_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"openbox"},
        std::map<std::string, std::string>{{"DISPLAY", display},
                                           {"HOME", dir_.path().string()},
                                           {"XDG_CONFIG_HOME", (dir_.path() / "wm").string()}});
    std::this_thread::sleep_for(1s);
    reports = dir_.path();
    port = StartPages(pages_);
    other_port = StartPages(other_pages_);
  }
  void TearDown() override {
    pages_.reset();
    other_pages_.reset();
    window_manager_.reset();
    xvfb_.reset();
  }

 private:
  TempHome dir_;
  std::unique_ptr<ChildProcess> xvfb_;
  std::unique_ptr<ChildProcess> window_manager_;
  std::unique_ptr<ChildProcess> pages_;
  std::unique_ptr<ChildProcess> other_pages_;

  static std::string StartPages(std::unique_ptr<ChildProcess>& server) {
    server = std::make_unique<ChildProcess>(
        std::vector<std::string>{"node", SOURCE_DIR "/scripts/serve-pages.mjs",
                                 SOURCE_DIR "/tests/pages", "0", reports.string()},
        std::map<std::string, std::string>{});
    const std::string line = server->ReadLine(20s).value_or("");
    return line.starts_with("port ") ? line.substr(5) : "";
  }
};

const auto* const kServers = ::testing::AddGlobalTestEnvironment(new Servers);

std::string PageUrl(const std::string& host, const std::string& page) {
  return "http://" + host + ":" + Servers::port + "/" + page;
}

class WebViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(Servers::display, ":") << "Xvfb did not start";
    ASSERT_FALSE(Servers::port.empty()) << "the page server did not start";
    fs::create_directories(home_.path() / "Documents");
    fs::create_directories(home_.path() / "run");
    fs::permissions(home_.path() / "run", fs::perms::owner_all);
  }

  void Start(const std::string& program, const std::string& url) {
    std::vector<std::string> argv{program};
    if (program == PLUGIN_GENERATOR_DEV) argv.push_back("--start-url");
    argv.push_back(url);
    const fs::path& h = home_.path();
    program_ = std::make_unique<ChildProcess>(
        argv, std::map<std::string, std::string>{{"DISPLAY", Servers::display},
                                                 {"HOME", h.string()},
                                                 {"XDG_CONFIG_HOME", (h / ".config").string()},
                                                 {"XDG_DATA_HOME", (h / ".local/share").string()},
                                                 {"XDG_CACHE_HOME", (h / ".cache").string()},
                                                 {"XDG_RUNTIME_DIR", (h / "run").string()},
                                                 {"GDK_BACKEND", "x11"}});
  }

  // The report a page posted under `name`, parsed; waits for it while the program runs.
  json::value Report(const std::string& name) {
    const fs::path file = Servers::reports / name;
    for (auto waited = 0ms; waited < 120s; waited += 100ms) {
      if (fs::exists(file)) {
        json::value value = json::parse(ReadFile(file));
        fs::remove(file);
        return value;
      }
      if (program_->Wait(0ms)) break;
      std::this_thread::sleep_for(100ms);
    }
    ADD_FAILURE() << "no report " << name;
    return json::object();
  }

  // Closes the program by SIGTERM and gives its exit code.
  int Close() {
    program_->Signal(SIGTERM);
    return program_->Wait(20s).value_or(-1);
  }

  TempHome home_;
  std::unique_ptr<ChildProcess> program_;
};

json::value Parse(const char* text) { return json::parse(text); }

constexpr char kTitle[] = "Kestrolan Web PlugIn Generator";

// What a shell command prints.
std::string Output(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe)) out += buffer;
    pclose(pipe);
  }
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

TEST_F(WebViewTest, BridgeContractOnTheRealEngine) {
  // Another program owns the clipboard; xclip serves it until the test ends.
  ChildProcess clipboard({"sh", "-c", "printf copied-text | xclip -quiet -selection clipboard"},
                         {{"DISPLAY", Servers::display}});
  std::this_thread::sleep_for(300ms);
  Start(BRIDGE_PROBE,
        PageUrl("127.0.0.1", "bridge.html?other=http://127.0.0.1:" + Servers::other_port));
  const json::value first = Report("first");
  ASSERT_TRUE(first.is_object()) << first;
  const json::object& r = first.as_object();
  EXPECT_EQ(r.at("hadHostAction"), true);
  // The handler gets the JSON text of the argument array, escaped as JSON.stringify does.
  EXPECT_EQ(r.at("text").at("fulfilled").at("raw"),
            "[\"he said \\\"hi\\\"\\n\\\\ \\t ✓ \u2028\"]");
  EXPECT_EQ(r.at("object").at("fulfilled").at("raw"), R"([{"a":1,"b":[true,null],"c":"x"}])");
  EXPECT_EQ(r.at("noArguments").at("fulfilled").at("raw"), "[]");
  EXPECT_EQ(r.at("twoArguments").at("fulfilled").at("raw"), R"(["x",2])");
  EXPECT_EQ(r.at("noReply"), Parse(R"({"fulfilled":"undefined"})"));
  EXPECT_EQ(r.at("emptyReply"), Parse(R"({"fulfilled":"undefined"})"));
  EXPECT_EQ(r.at("notJson"), Parse(R"({"rejected":"Failed to parse binding result as JSON"})"));
  // Calls made without waiting reach the handler in order and settle in order.
  const json::array& parallel = r.at("parallel").as_array();
  ASSERT_EQ(parallel.size(), 4u);
  for (size_t i = 0; i < parallel.size(); ++i) {
    EXPECT_EQ(parallel[i].at("received").at(0), json::string("p" + std::to_string(i + 1)));
    EXPECT_EQ(parallel[i].at("call").as_int64(), parallel[0].at("call").as_int64() + int64_t(i));
  }
  EXPECT_EQ(r.at("order"), Parse("[0,1,2,3]"));
  // The message for another method ran no handler: the call count went on by one.
  EXPECT_EQ(r.at("afterForeign").at("fulfilled").at("call").as_int64(),
            parallel[3].at("call").as_int64() + 1);

  // After a reload and on another origin HostAction is there before the page's scripts.
  const json::value reload = Report("reload");
  EXPECT_EQ(reload.at("hadHostAction"), true);
  EXPECT_EQ(reload.at("echo").at("fulfilled").at("raw"), R"(["again"])");
  const json::value origin = Report("origin");
  EXPECT_EQ(origin.at("hadHostAction"), true);
  EXPECT_EQ(origin.at("origin"), json::string("http://127.0.0.1:" + Servers::other_port));
  EXPECT_EQ(origin.at("echo").at("fulfilled").at("raw"), R"(["o"])");
  // Maximized, with our title, and the web view fills the window.
  const std::string state = Output("xprop -display " + Servers::display + " -name '" +
                                   kTitle + "' _NET_WM_STATE");
  EXPECT_NE(state.find("_NET_WM_STATE_MAXIMIZED_VERT"), std::string::npos) << state;
  EXPECT_NE(state.find("_NET_WM_STATE_MAXIMIZED_HORZ"), std::string::npos) << state;
  const std::string size = Output("xwininfo -display " + Servers::display + " -name '" + kTitle +
                                  "' | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w\",\"h}'");
  EXPECT_EQ(origin.at("innerSize"), json::parse("[" + size + "]")) << size;
  EXPECT_EQ(origin.at("focus"), true);
  EXPECT_EQ(origin.at("clipboard"), Parse(R"({"fulfilled":"copied-text"})"));

  EXPECT_EQ(Close(), 0);
}

TEST_F(WebViewTest, EveryCloseRequestEndsWithExitCodeZero) {
  struct Case {
    const char* name;
    std::function<void(ChildProcess&)> close;
  };
  const Case cases[] = {
      {"SIGTERM", [](ChildProcess& p) { p.Signal(SIGTERM); }},
      {"SIGINT", [](ChildProcess& p) { p.Signal(SIGINT); }},
      // As the window's close button or Alt+F4 do: the window manager asks the window to close.
      {"window close", [](ChildProcess&) {
         Output("DISPLAY=" + Servers::display + " wmctrl -F -c '" + kTitle + "'");
       }},
  };
  for (const auto& c : cases) {
    Start(PLUGIN_GENERATOR_DEV, PageUrl("127.0.0.1", "ready.html"));
    EXPECT_EQ(Report("ready").at("hadHostAction"), true) << c.name;
    c.close(*program_);
    EXPECT_EQ(program_->Wait(20s), std::optional<int>(0)) << c.name;
  }
}

std::string PseudoRandomBytes(size_t count) {
  std::string bytes(count, '\0');
  uint32_t x = 1;
  for (char& b : bytes) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    b = static_cast<char>(x & 0xff);
  }
  return bytes;
}

TEST_F(WebViewTest, WholeTransfersThroughTheRealHandler) {
  Start(PLUGIN_GENERATOR_DEV, PageUrl("127.0.0.1", "install.html"));
  const json::value report = Report("install");
  ASSERT_TRUE(report.is_object()) << report;
  const json::object& r = report.as_object();
  EXPECT_EQ(r.at("single"), Parse(R"(["success"])"));
  EXPECT_EQ(r.at("chunks"), Parse(R"(["-","-","success"])"));
  EXPECT_EQ(r.at("forms"), Parse(R"(["success","success","success","success"])"));
  EXPECT_EQ(r.at("outOfOrder"), Parse(R"(["-","error","-"])"));
  EXPECT_EQ(r.at("unsafeName"), Parse(R"(["error"])"));
  EXPECT_EQ(r.at("badBase64"), Parse(R"(["error"])"));
  EXPECT_EQ(r.at("repeatedLast"), Parse(R"(["-","success","error"])"));
  EXPECT_EQ(r.at("ignored"), Parse(R"(["-"])"));
  const json::array& big = r.at("big").as_array();
  ASSERT_EQ(big.size(), 27u);
  EXPECT_EQ(big.back(), "success");
  std::cout << "20 MiB transfer: " << r.at("bigMiBPerSecond").to_number<double>()
            << " MiB/s of Base64\n";

  const fs::path plugins = home_.path() / "Documents/KestrolanWeb/PlugIns";
  EXPECT_EQ(ReadFile(plugins / "single/single.js"), "hello");
  EXPECT_EQ(ReadFile(plugins / "chunks/chunks.js"), "three chunks of text");
  EXPECT_TRUE(ReadFile(plugins / "big/big.bin") == PseudoRandomBytes(20 << 20));
  for (const char* name : {"form1", "form2", "form3", "form4"}) {
    EXPECT_EQ(ReadFile(plugins / name / (std::string(name) + ".js")), "form");
  }
  EXPECT_FALSE(fs::exists(plugins / "order"));
  EXPECT_FALSE(fs::exists(home_.path() / "Documents/KestrolanWeb/escape.js"));
  EXPECT_FALSE(fs::exists(plugins / "bad/bad.js"));
  EXPECT_EQ(ReadFile(plugins / "again/again.js"), "hello");
  const std::string entries = ReadFile(home_.path() / ".config/Mardova/KestrolanWeb/PlugIns.ini");
  EXPECT_NE(entries.find("big.bin=" + (plugins / "big/big.bin").string()), std::string::npos);
  EXPECT_EQ(Close(), 0);
}

}  // namespace
