// What an executable file carries, read without running it: resources and version information.
#include "tests/wine/executable_file.h"

#include <cstdint>
#include <cwchar>

namespace wine_test {
namespace {

uint32_t Little(const std::string& bytes, size_t at, size_t count) {
  uint32_t value = 0;
  for (size_t i = 0; i < count && at + i < bytes.size(); ++i) {
    value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + i])) << (8 * i);
  }
  return value;
}

// An .ico file and an icon group resource both start with three WORDs (0, 1, image count), then
// one entry per image: 16 bytes in a file, with the image's size at offset 8 and its file offset
// at 12; 14 bytes in a resource, with the size at 8 and the RT_ICON number at 12.
constexpr size_t kHeaderBytes = 6;
constexpr size_t kFileEntryBytes = 16;
constexpr size_t kGroupEntryBytes = 14;

}  // namespace

Resources::Resources(const std::filesystem::path& file)
    : module_(LoadLibraryExW(file.c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}

Resources::~Resources() {
  if (module_) FreeLibrary(module_);
}

std::optional<std::string> Resources::Bytes(const char* type, int id) const {
  HRSRC found = module_ ? FindResourceA(module_, MAKEINTRESOURCEA(id), type) : nullptr;
  HGLOBAL data = found ? LoadResource(module_, found) : nullptr;
  const void* bytes = data ? LockResource(data) : nullptr;
  if (!bytes) return std::nullopt;
  return std::string(static_cast<const char*>(bytes), SizeofResource(module_, found));
}

std::optional<int> Resources::FirstIconGroup() const {
  int first = 0;
  if (module_) {
    EnumResourceNamesA(
        module_, RT_GROUP_ICON,
        [](HMODULE, LPCSTR, LPSTR name, LONG_PTR first) noexcept -> BOOL {
          if (!IS_INTRESOURCE(name)) return TRUE;  // ours are numbered
          *reinterpret_cast<int*>(first) = static_cast<int>(reinterpret_cast<uintptr_t>(name));
          return FALSE;
        },
        reinterpret_cast<LONG_PTR>(&first));
  }
  if (first == 0) return std::nullopt;
  return first;
}

std::optional<std::vector<std::string>> Resources::IconImages(int group) const {
  const std::optional<std::string> entries = Bytes(RT_GROUP_ICON, group);
  if (!entries) return std::nullopt;
  std::vector<std::string> images;
  for (uint32_t i = 0, count = Little(*entries, 4, 2); i < count; ++i) {
    const size_t at = kHeaderBytes + kGroupEntryBytes * i;
    if (at + kGroupEntryBytes > entries->size()) return std::nullopt;
    std::optional<std::string> image =
        Bytes(RT_ICON, static_cast<int>(Little(*entries, at + 12, 2)));
    if (!image) return std::nullopt;
    images.push_back(std::move(*image));
  }
  return images;
}

std::vector<std::string> IcoImages(const std::string& ico) {
  std::vector<std::string> images;
  for (uint32_t i = 0, count = Little(ico, 4, 2); i < count; ++i) {
    const size_t at = kHeaderBytes + kFileEntryBytes * i;
    const uint32_t size = Little(ico, at + 8, 4), offset = Little(ico, at + 12, 4);
    if (offset > ico.size() || size > ico.size() - offset) break;
    images.push_back(ico.substr(offset, size));
  }
  return images;
}

FileVersion::FileVersion(const std::filesystem::path& file) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
  data_.resize(size);
  if (size == 0 || !GetFileVersionInfoW(file.c_str(), 0, size, data_.data())) data_.clear();
}

const VS_FIXEDFILEINFO* FileVersion::fixed() const {
  void* fixed = nullptr;
  UINT size = 0;
  if (data_.empty() || !VerQueryValueW(data_.data(), L"\\", &fixed, &size) ||
      size < sizeof(VS_FIXEDFILEINFO)) {
    return nullptr;
  }
  return static_cast<const VS_FIXEDFILEINFO*>(fixed);
}

std::wstring FileVersion::Text(const std::wstring& name) const {
  void* value = nullptr;
  UINT size = 0;
  if (data_.empty() ||
      !VerQueryValueW(data_.data(), L"\\VarFileInfo\\Translation", &value, &size) ||
      size < 2 * sizeof(WORD)) {
    return {};
  }
  const WORD* translation = static_cast<const WORD*>(value);
  wchar_t block[64];
  swprintf(block, 64, L"\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
  if (!VerQueryValueW(data_.data(), (block + name).c_str(), &value, &size) || size == 0) return {};
  return static_cast<const wchar_t*>(value);
}

}  // namespace wine_test
