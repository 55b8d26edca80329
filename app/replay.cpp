// Replaying captured HostAction calls through the real handler, without a browser engine.
#include "app/replay.h"

#include <string>

namespace app {

void Replay(std::istream& calls, std::ostream& replies, bridge::HostActionHandler& handler) {
  std::string line;
  while (std::getline(calls, line)) {
    const std::optional<std::string> reply = handler.Handle(line);
    replies << (reply ? *reply : "-") << '\n' << std::flush;
  }
}

}  // namespace app
