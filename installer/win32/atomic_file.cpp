// Replacing a file in one step on Windows, with the calls that can fail half-way behind a seam.
#include "installer/win32/atomic_file.h"

#include <algorithm>
#include <cstdint>
#include <random>

#include "installer/win32/unique_handles.h"

namespace installer::win32 {
namespace {

// WriteFile takes a DWORD size, so large buffers go in pieces.
constexpr size_t kWriteChunk = size_t{1} << 30;

std::wstring FolderOf(const std::wstring& path) {
  const size_t separator = path.find_last_of(L"\\/");
  return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator + 1);
}

// "~", 8 hex digits, ".tmp": short, so the temporary path stays within kMaxPath wherever the
// target does. A folder that leaves less `room` than that still leaves as much as the target's own
// name takes, and the name shrinks to fit.
std::wstring TemporaryName(size_t room, uint32_t random) {
  constexpr wchar_t kHex[] = L"0123456789abcdef";
  std::wstring name = L"~";
  for (int shift = 28; shift >= 0; shift -= 4) name += kHex[(random >> shift) & 0xF];
  if (name.size() + 4 <= room) return name + L".tmp";
  name.resize(std::clamp<size_t>(room, 1, name.size()));
  return name;
}

// A new, empty file in `folder` that nobody else may open while it is written.
UniqueHandle CreateTemporaryFile(const std::wstring& folder, std::wstring& path,
                                 const FileCalls& calls) {
  const size_t room = kMaxPath - 1 - folder.size();
  std::random_device random;
  for (int attempt = 0; attempt < 16; ++attempt) {
    path = folder + TemporaryName(room, random());
    UniqueHandle file(calls.create_file(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return UniqueHandle();
}

bool WriteAll(HANDLE file, std::string_view bytes, const FileCalls& calls) {
  while (!bytes.empty()) {
    const DWORD size = static_cast<DWORD>(std::min(bytes.size(), kWriteChunk));
    DWORD written = 0;
    if (!calls.write_file(file, bytes.data(), size, &written, nullptr)) return false;
    if (written == 0 || written > size) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

const FileCalls& RealFileCalls() {
  static const FileCalls calls{CreateFileW, WriteFile, FlushFileBuffers, MoveFileExW};
  return calls;
}

bool ReplaceFileAtomically(const std::wstring& path, std::string_view bytes,
                           const FileCalls& calls) {
  if (path.size() >= kMaxPath) return false;
  const std::wstring folder = FolderOf(path);
  std::wstring temporary;
  UniqueHandle file = CreateTemporaryFile(folder, temporary, calls);
  if (!file) return false;
  const bool ok = WriteAll(file.get(), bytes, calls) && calls.flush_file_buffers(file.get()) &&
                  file.Reset() &&
                  calls.move_file_ex(temporary.c_str(), path.c_str(),
                                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) {
    file.Reset();
    DeleteFileW(temporary.c_str());
  }
  return ok;
}

}  // namespace installer::win32
