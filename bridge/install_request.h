// Reading an install request out of the argument text of a HostAction call.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace bridge {

// What the page asks for in one call. Members it did not send keep these defaults.
struct InstallRequest {
  std::string action;
  std::string data;
  std::string filename;
  int64_t chunk_index = 0;
  int64_t total_chunks = 1;
};

inline constexpr std::string_view kInstallAction = "COMPILE_AND_INSTALL";

// The argument text is the JSON array of the call's arguments. The request is its first element
// (or the text itself when that is not a non-empty array): an object, or a string holding the
// object's JSON text. Text that holds no request gives the defaults.
InstallRequest ReadInstallRequest(std::string_view argument_text);

// Only these requests are acted on: the install action with a file name.
bool IsActedOn(const InstallRequest& request);

// A chunk is the last when its index reaches totalChunks - 1, wrapping as 64-bit integers do.
bool IsLastChunk(int64_t chunk_index, int64_t total_chunks);

}  // namespace bridge
