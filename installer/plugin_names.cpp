// Name rules of the plug-in folder: file part, base name, and which file names a page may use.
#include "installer/plugin_names.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace installer {
namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
  });
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 name devices on Windows, with any extension and with
// trailing spaces before it.
bool IsReservedDeviceName(std::string_view name) {
  std::string_view stem = name.substr(0, name.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
  for (std::string_view device : {"CON", "PRN", "AUX", "NUL"}) {
    if (EqualsIgnoringCase(stem, device)) return true;
  }
  if (stem.size() == 4 && stem[3] >= '1' && stem[3] <= '9') {
    const std::string_view prefix = stem.substr(0, 3);
    return EqualsIgnoringCase(prefix, "COM") || EqualsIgnoringCase(prefix, "LPT");
  }
  return false;
}

bool IsValidFolderOrFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  if (name.back() == '.' || name.back() == ' ') return false;
  for (unsigned char c : name) {
    if (c < 0x20 || c == 0x7F) return false;
    if (std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos) {
      return false;
    }
  }
  return !IsReservedDeviceName(name);
}

}  // namespace

std::string_view FilePart(std::string_view path) {
  size_t begin = path.find_last_of("\\/");
  begin = begin == std::string_view::npos ? 0 : begin + 1;
  if (begin == 0 && !path.empty() && path.front() == '"') begin = 1;
  const size_t end = path.find('"', begin);
  return path.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin);
}

std::string_view BaseName(std::string_view path) {
  const std::string_view part = FilePart(path);
  for (size_t i = part.size(); i-- > 1;) {
    if (part[i] == ' ') break;
    if (part[i] == '.') return i + 1 == part.size() ? part : part.substr(0, i);
  }
  return part;
}

bool IsPlainFileName(std::string_view name) {
  return IsValidFolderOrFileName(name) && IsValidFolderOrFileName(BaseName(name));
}

}  // namespace installer
