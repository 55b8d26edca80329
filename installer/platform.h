// What installing a plug-in needs of the platform; one backend per platform implements it.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace installer {

// The file system side: where plug-in files go and how they are written.
class PlugInStore {
 public:
  virtual ~PlugInStore() = default;

  // The user's Documents folder, ending with Separator(); nothing when it cannot be found.
  virtual std::optional<std::string> DocumentsFolder() = 0;
  virtual char Separator() const = 0;
  // True when `path` is a directory afterwards, existing or newly made. Its parent must exist.
  virtual bool MakeFolder(const std::string& path) = 0;
  // Puts `bytes` at `path` in one step: afterwards the file holds either all of them or,
  // on failure, exactly what it held before.
  virtual bool ReplaceFile(const std::string& path, std::string_view bytes) = 0;
};

// Telling the host product about a new plug-in file.
class HostNotice {
 public:
  virtual ~HostNotice() = default;

  // True when a running host product took the notice.
  virtual bool NotifyHostProduct(const std::string& full_path) = 0;
  // Records the file as a pending plug-in entry for the host product's next start.
  virtual void RecordPendingPlugIn(const std::string& full_path) = 0;
};

// The backends of the platform this program is built for.
std::unique_ptr<PlugInStore> MakePlatformPlugInStore();
std::unique_ptr<HostNotice> MakePlatformHostNotice();

}  // namespace installer
