// Strict Base64 decoding of the text a page sends for a plug-in file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace installer {

// Decodes standard and URL-safe Base64, also mixed in one text. ASCII white space is skipped
// anywhere. "=" may only complete a group of four; a padded group may be followed by further
// groups, so separately encoded texts joined together decode to the joined bytes. A final group
// of two or three characters without padding is accepted. Anything else (another character, a
// lone final character, misplaced padding) gives nothing, never partial or garbled bytes.
std::optional<std::string> DecodeBase64(std::string_view text);

}  // namespace installer
