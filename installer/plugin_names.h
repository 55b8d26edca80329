// Name rules of the plug-in folder: file part, base name, and which file names a page may use.
#pragma once

#include <string>
#include <string_view>

namespace installer {

// The last part of a path: after the last "\" or "/", without a leading double quote, up to the
// next double quote. Also names the pending plug-in entry.
std::string_view FilePart(std::string_view path);

// The file part without its extension: only the last "." counts, never the first character, and
// an extension holds no space. "chart.min.js" gives "chart.min", ".settings" stays whole.
std::string_view BaseName(std::string_view path);

// True for a plain file name that is valid on Windows and Linux alike and whose base name is a
// valid folder name too. Anything else could write outside the plug-in folder or fail there.
bool IsPlainFileName(std::string_view name);

}  // namespace installer
