// Replaying captured HostAction calls through the real handler, without a browser engine.
#pragma once

#include <istream>
#include <ostream>

#include "bridge/host_action.h"

namespace app {

// Each input line is the argument text of one call. For each, writes one line: the reply text,
// or "-" when the handler gives none.
void Replay(std::istream& calls, std::ostream& replies, bridge::HostActionHandler& handler);

}  // namespace app
