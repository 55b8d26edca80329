// Replacing a file in one step on POSIX systems, with the system calls behind a seam for tests.
#include "installer/linux/atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <random>

namespace installer::posix {
namespace {

// Owns a file descriptor.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() { Close(); }

  int get() const { return fd_; }
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

// A new, empty file in `folder` with a name nobody else uses; mode 0666 less the umask, as for
// any file the user creates.
int CreateTemporaryFile(const std::string& folder, std::string& name) {
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < 16; ++attempt) {
    name = folder + ".plugin-" + std::to_string(random()) + ".tmp";
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool WriteAll(int fd, std::string_view bytes, const FileCalls& calls) {
  while (!bytes.empty()) {
    const ssize_t n = calls.write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// Makes the rename itself durable; a folder that cannot be synced does not undo the install.
void SyncFolder(const std::string& folder) {
  FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
}

}  // namespace

const FileCalls& RealFileCalls() {
  static const FileCalls calls{::write, ::fsync, ::rename};
  return calls;
}

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes,
                           const FileCalls& calls) {
  const std::string folder = FolderOf(path);
  std::string temporary;
  FileDescriptor file(CreateTemporaryFile(folder, temporary));
  if (file.get() < 0) return false;
  const bool ok = WriteAll(file.get(), bytes, calls) && calls.fsync(file.get()) == 0 &&
                  file.Close() && calls.rename(temporary.c_str(), path.c_str()) == 0;
  if (!ok) {
    ::unlink(temporary.c_str());
    return false;
  }
  SyncFolder(folder);
  return true;
}

}  // namespace installer::posix
