// Plug-in files on Linux: the XDG Documents folder and POSIX files.
#include <glib.h>
#include <sys/stat.h>

#include <cerrno>

#include "installer/linux/atomic_file.h"
#include "installer/platform.h"

namespace installer {
namespace {

bool IsDirectory(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

class LinuxPlugInStore final : public PlugInStore {
 public:
  // The XDG Documents folder, else ~/Documents; it must exist, since a missing one usually
  // means a misconfigured session rather than a place to create.
  std::optional<std::string> DocumentsFolder() override {
    const char* xdg = g_get_user_special_dir(G_USER_DIRECTORY_DOCUMENTS);
    std::string path = xdg ? xdg : std::string(g_get_home_dir()) + "/Documents";
    if (path.empty() || !IsDirectory(path)) return std::nullopt;
    if (path.back() != '/') path += '/';
    return path;
  }

  char Separator() const override { return '/'; }

  bool MakeFolder(const std::string& path) override {
    if (::mkdir(path.c_str(), 0777) == 0) return true;
    return errno == EEXIST && IsDirectory(path);
  }

  bool ReplaceFile(const std::string& path, std::string_view bytes) override {
    return posix::ReplaceFileAtomically(path, bytes);
  }
};

}  // namespace

std::unique_ptr<PlugInStore> MakePlatformPlugInStore() {
  return std::make_unique<LinuxPlugInStore>();
}

}  // namespace installer
