// Writing a finished plug-in file into its folder under Documents/KestrolanWeb/PlugIns.
#pragma once

#include <string>
#include <string_view>

#include "installer/platform.h"

namespace installer {

struct InstallResult {
  std::string full_path;  // empty when no path could be composed
  bool written = false;
};

// Creates Documents/KestrolanWeb/PlugIns/<base name>/ as needed and writes the decoded Base64
// text there as `file_name`. Nothing is created for a name that is not a plain file name or when
// there is no Documents folder; nothing is written for text that does not decode to any bytes.
InstallResult InstallPlugInFile(std::string_view base64_text, std::string_view file_name,
                                PlugInStore& store);

// Decodes `base64_text` and puts the bytes at `full_path`; false when nothing was written.
bool SavePlugInFile(std::string_view base64_text, const std::string& full_path, PlugInStore& store);

}  // namespace installer
