// Replacing a file in one step on POSIX systems, with the system calls behind a seam for tests.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

namespace installer::posix {

// The calls that can fail half-way; tests swap them to inject faults.
struct FileCalls {
  ssize_t (*write)(int fd, const void* buffer, size_t count);
  int (*fsync)(int fd);
  int (*rename)(const char* from, const char* to);
};

const FileCalls& RealFileCalls();

// Writes `bytes` to a new file beside `path`, flushes it to disk and renames it over `path`.
// On any failure the new file is removed and `path` is left exactly as it was.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes,
                           const FileCalls& calls = RealFileCalls());

}  // namespace installer::posix
