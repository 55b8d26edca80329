// How fast a whole transfer goes through the handler: a 64 MiB plug-in in 1 MiB Base64 chunks,
// decoded and written into a temporary Documents folder, next to a plain copy of the same bytes.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bridge/host_action.h"
#include "installer/platform.h"

namespace {

constexpr size_t kFileBytes = size_t{64} << 20;
constexpr size_t kChunkChars = size_t{1} << 20;

std::string Base64(const std::string& bytes) {
  static const char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const size_t n = std::min<size_t>(3, bytes.size() - i);
    uint32_t bits = 0;
    for (size_t k = 0; k < n; ++k) bits |= static_cast<uint8_t>(bytes[i + k]) << (16 - 8 * k);
    for (size_t k = 0; k < 4; ++k) text += k <= n ? kAlphabet[(bits >> (18 - 6 * k)) & 63] : '=';
  }
  return text;
}

// The argument texts of one transfer, as the page sends them. Made chunk by chunk, so that the
// input alone is in memory when the handler runs.
const std::vector<std::string>& Calls() {
  static const std::vector<std::string> calls = [] {
    constexpr size_t kChunkBytes = kChunkChars / 4 * 3;
    constexpr size_t kTotal = (kFileBytes + kChunkBytes - 1) / kChunkBytes;
    std::mt19937_64 random(42);
    std::vector<std::string> out;
    for (size_t i = 0; i < kTotal; ++i) {
      std::string bytes(std::min(kChunkBytes, kFileBytes - i * kChunkBytes), '\0');
      for (char& b : bytes) b = static_cast<char>(random());
      out.push_back(R"([{"action":"COMPILE_AND_INSTALL","filename":"bench.bin","data":")" +
                    Base64(bytes) + R"(","chunkIndex":)" + std::to_string(i) +
                    R"(,"totalChunks":)" + std::to_string(kTotal) + "}]");
    }
    return out;
  }();
  return calls;
}

size_t CallBytes() {
  size_t n = 0;
  for (const auto& call : Calls()) n += call.size();
  return n;
}

double PeakMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

void BM_ReplayTransfer(benchmark::State& state) {
  const auto store = installer::MakePlatformPlugInStore();
  const auto notice = installer::MakePlatformHostNotice();
  bridge::HostActionHandler handler(*store, *notice);
  const double before = PeakMiB();
  for (auto _ : state) {
    std::optional<std::string> reply;
    for (const auto& call : Calls()) reply = handler.Handle(call);
    if (reply != bridge::kSuccessReply) state.SkipWithError("transfer failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * CallBytes()));
  state.counters["peak_MiB"] = PeakMiB();
  state.counters["peak_over_input_MiB"] = PeakMiB() - before;
}

// The floor: copying the same request text once, with nothing decoded or written.
void BM_PlainCopy(benchmark::State& state) {
  std::string sink;
  for (auto _ : state) {
    for (const auto& call : Calls()) {
      sink.assign(call);
      benchmark::DoNotOptimize(sink.data());
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * CallBytes()));
}

BENCHMARK(BM_ReplayTransfer)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  // Everything the handler writes goes into a throw-away home.
  const auto home = std::filesystem::temp_directory_path() / "pg-bench-home";
  std::filesystem::remove_all(home);
  std::filesystem::create_directories(home / "Documents");
  setenv("HOME", home.c_str(), 1);
  setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
  Calls();  // build the input before anything is measured
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(home);
  return 0;
}
