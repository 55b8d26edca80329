// Reading an install request out of the argument text of a HostAction call.
#include "bridge/install_request.h"

#include <boost/json.hpp>
#include <cmath>
#include <limits>

namespace bridge {
namespace {

namespace json = boost::json;

std::string TextOf(const json::value& value) {
  return value.is_string() ? std::string(value.get_string()) : std::string();
}

// Whole numbers as they are, fractions truncated toward zero, booleans as 1 and 0, anything
// else 0. Numbers beyond the 64-bit range are clamped to its nearest end.
int64_t IntegerOf(const json::value& value) {
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
  switch (value.kind()) {
    case json::kind::int64:
      return value.get_int64();
    case json::kind::uint64:
      return value.get_uint64() > static_cast<uint64_t>(kMax) ? kMax
                                                              : static_cast<int64_t>(value.get_uint64());
    case json::kind::double_: {
      const double d = std::trunc(value.get_double());
      if (d >= 9223372036854775808.0) return kMax;
      if (d <= -9223372036854775808.0) return kMin;
      return static_cast<int64_t>(d);
    }
    case json::kind::bool_:
      return value.get_bool() ? 1 : 0;
    default:
      return 0;
  }
}

void ReadMembers(const json::object& object, InstallRequest& request) {
  if (auto* v = object.if_contains("action")) request.action = TextOf(*v);
  if (auto* v = object.if_contains("data")) request.data = TextOf(*v);
  if (auto* v = object.if_contains("filename")) request.filename = TextOf(*v);
  if (auto* v = object.if_contains("chunkIndex")) request.chunk_index = IntegerOf(*v);
  if (auto* v = object.if_contains("totalChunks")) request.total_chunks = IntegerOf(*v);
}

}  // namespace

InstallRequest ReadInstallRequest(std::string_view argument_text) {
  InstallRequest request;
  json::error_code error;
  const json::value top = json::parse(argument_text, error);
  if (error) return request;

  const json::value* candidate = &top;
  if (top.is_array() && !top.get_array().empty()) candidate = &top.get_array()[0];

  if (candidate->is_object()) {
    ReadMembers(candidate->get_object(), request);
  } else if (candidate->is_string()) {
    // One level of wrapping: a string that holds the request object's JSON text.
    const json::value inner = json::parse(candidate->get_string(), error);
    if (!error && inner.is_object()) ReadMembers(inner.get_object(), request);
  }
  return request;
}

bool IsActedOn(const InstallRequest& request) {
  return request.action == kInstallAction && !request.filename.empty();
}

bool IsLastChunk(int64_t chunk_index, int64_t total_chunks) {
  const auto last = static_cast<int64_t>(static_cast<uint64_t>(total_chunks) - 1);
  return chunk_index >= last;
}

}  // namespace bridge
