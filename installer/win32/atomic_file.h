// Replacing a file in one step on Windows, with the calls that can fail half-way behind a seam.
#pragma once

#include <string>
#include <string_view>

#include "installer/win32/windows_headers.h"

namespace installer::win32 {

// Paths of this many UTF-16 code units or more do not work with the plain Win32 file calls.
inline constexpr size_t kMaxPath = MAX_PATH;

// The calls that can fail half-way; tests swap them to inject faults, or to hold Wine to the
// path limit of Windows.
struct FileCalls {
  decltype(&CreateFileW) create_file;
  decltype(&WriteFile) write_file;
  decltype(&FlushFileBuffers) flush_file_buffers;
  decltype(&MoveFileExW) move_file_ex;
};

const FileCalls& RealFileCalls();

// Writes `bytes` to a new file beside `path`, flushes it to disk and moves it over `path`. Paths
// of kMaxPath code units or more fail. On any failure the new file is removed and `path` is left
// exactly as it was.
bool ReplaceFileAtomically(const std::wstring& path, std::string_view bytes,
                           const FileCalls& calls = RealFileCalls());

}  // namespace installer::win32
