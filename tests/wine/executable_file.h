// What an executable file carries, read without running it: resources and version information.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "installer/win32/windows_headers.h"

namespace wine_test {

class Resources {
 public:
  explicit Resources(const std::filesystem::path& file);
  Resources(const Resources&) = delete;
  Resources& operator=(const Resources&) = delete;
  ~Resources();

  bool loaded() const { return module_ != nullptr; }
  // The bytes of a resource; nothing when there is none. The type is one of the RT_ names,
  // which the headers spell narrow in a build without UNICODE.
  std::optional<std::string> Bytes(const char* type, int id) const;
  // The number of the file's first icon group, the one Explorer shows.
  std::optional<int> FirstIconGroup() const;
  // The images an icon group names, in its order; nothing when the group or an image is missing.
  std::optional<std::vector<std::string>> IconImages(int group) const;

 private:
  HMODULE module_;
};

// The images of an .ico file, in its order.
std::vector<std::string> IcoImages(const std::string& ico);

class FileVersion {
 public:
  explicit FileVersion(const std::filesystem::path& file);
  // The numbers; nullptr when the file has no version information.
  const VS_FIXEDFILEINFO* fixed() const;
  // A text of its first language, such as "ProductName"; empty when there is none.
  std::wstring Text(const std::wstring& name) const;

 private:
  std::vector<char> data_;
};

}  // namespace wine_test
