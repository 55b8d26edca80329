// The handler behind the page function HostAction: install requests in, status replies out.
#include "bridge/host_action.h"

#include <new>

#include "bridge/install_request.h"
#include "installer/plugin_installer.h"

namespace bridge {

std::optional<std::string> HostActionHandler::Handle(std::string_view argument_text) noexcept {
  // Until the request is read, a failure cannot tell a last chunk from another: then the page
  // gets the error reply rather than a silence it might take for progress.
  bool last_chunk = true;
  try {
    const InstallRequest request = ReadInstallRequest(argument_text);
    if (!IsActedOn(request)) return std::nullopt;
    last_chunk = IsLastChunk(request.chunk_index, request.total_chunks);
    chunks_.Add(request.chunk_index, request.filename, request.data);
    if (!last_chunk) return std::nullopt;

    const std::optional<std::string> text = chunks_.Finish();
    const bool written = text && Install(*text, request.filename);
    return std::string(written ? kSuccessReply : kErrorReply);
  } catch (...) {
    // Only memory can run out here. The transfer is lost; answer as for a broken one.
    chunks_.Drop();
  }
  if (!last_chunk) return std::nullopt;
  try {
    return std::string(kErrorReply);
  } catch (...) {
    return std::nullopt;
  }
}

bool HostActionHandler::Install(const std::string& base64_text, const std::string& file_name) {
  const installer::InstallResult result =
      installer::InstallPlugInFile(base64_text, file_name, store_);
  if (!result.written) return false;
  if (!notice_.NotifyHostProduct(result.full_path)) notice_.RecordPendingPlugIn(result.full_path);
  return true;
}

}  // namespace bridge
