// Binds HostAction in a web view: page calls go to the handler, its reply back to the page.
#include "bridge/host_binding.h"

#include "bridge/utf8.h"

namespace bridge {
namespace {

void OnHostAction(const char* id, const char* request, void* arg) noexcept {
  auto& binding = *static_cast<HostBinding*>(arg);
  std::optional<std::string> reply;
  try {
    reply = binding.handler(ReplaceIllFormedUtf8(request ? request : ""));
  } catch (...) {
    // Out of memory before the handler ran; the call still gets its answer.
  }
  // An empty result settles the page's promise with undefined.
  binding.api->return_result(binding.view, id, 0, reply ? reply->c_str() : "");
}

}  // namespace

void BindHostAction(HostBinding& binding) {
  if (!binding.api || !binding.view) return;
  binding.api->bind(binding.view, kHostActionName, OnHostAction, &binding);
}

}  // namespace bridge
