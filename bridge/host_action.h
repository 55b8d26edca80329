// The handler behind the page function HostAction: install requests in, status replies out.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "bridge/chunk_accumulator.h"
#include "installer/platform.h"

namespace bridge {

inline constexpr std::string_view kSuccessReply = R"({"status":"success"})";
inline constexpr std::string_view kErrorReply = R"({"status":"error"})";

class HostActionHandler {
 public:
  HostActionHandler(installer::PlugInStore& store, installer::HostNotice& notice,
                    size_t transfer_limit = ChunkAccumulator::kDefaultLimit)
      : store_(store), notice_(notice), chunks_(transfer_limit) {}

  // Handles one call, given the JSON text of its arguments. Gives the reply text for the last
  // chunk of a transfer and nothing for every other call. Never throws: when memory runs out the
  // transfer is dropped and the call is answered as for a broken transfer.
  std::optional<std::string> Handle(std::string_view argument_text) noexcept;

 private:
  bool Install(const std::string& base64_text, const std::string& file_name);

  installer::PlugInStore& store_;
  installer::HostNotice& notice_;
  ChunkAccumulator chunks_;
};

}  // namespace bridge
