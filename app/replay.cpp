// Replaying captured HostAction calls through the real handler, without a browser engine.
#include "app/replay.h"

#include <string>

#include "bridge/utf8.h"

namespace app {

void Replay(std::istream& calls, std::ostream& replies, bridge::HostActionHandler& handler) {
  std::string line;
  while (std::getline(calls, line)) {
    // The same text the page bridge would hand over: ill-formed UTF-8 becomes U+FFFD there too.
    const std::optional<std::string> reply = handler.Handle(bridge::ReplaceIllFormedUtf8(line));
    replies << (reply ? *reply : "-") << '\n' << std::flush;
  }
}

}  // namespace app
