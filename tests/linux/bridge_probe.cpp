// The real shell and page bridge with a test handler behind HostAction, to show what the real
// handler cannot: the exact argument text, and replies of every kind.
//   bridge_probe URL
// A call whose first argument is "none" gets no reply, "empty" an empty reply, "bad" a reply
// that is not JSON; any other call gets {"call":N,"raw":"<argument text>","received":<it>}.
#include <boost/json.hpp>

#include "app/shell.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  int calls = 0;
  return app::RunShellWith(argv[1], [&calls](std::string_view arguments)
                                        -> std::optional<std::string> {
    ++calls;
    if (arguments.starts_with(R"(["none")")) return std::nullopt;
    if (arguments.starts_with(R"(["empty")")) return std::string();
    if (arguments.starts_with(R"(["bad")")) return std::string("not json");
    return R"({"call":)" + std::to_string(calls) +
           R"(,"raw":)" + boost::json::serialize(boost::json::string(arguments)) +
           R"(,"received":)" + std::string(arguments) + "}";
  });
}
