// In-memory stand-ins for the platform layer, so the core can be tested without a file system.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "installer/platform.h"

namespace testing_fakes {

class FakeStore : public installer::PlugInStore {
 public:
  std::optional<std::string> documents = "/home/user/Documents/";
  std::set<std::string> folders;
  std::map<std::string, std::string> files;
  bool fail_writes = false;
  std::string refuse_folder;  // MakeFolder fails for this path

  std::optional<std::string> DocumentsFolder() override { return documents; }
  char Separator() const override { return '/'; }
  bool MakeFolder(const std::string& path) override {
    if (path == refuse_folder) return false;
    folders.insert(path);
    return true;
  }
  bool ReplaceFile(const std::string& path, std::string_view bytes) override {
    if (fail_writes) return false;
    files[path] = std::string(bytes);
    return true;
  }
};

class FakeNotice : public installer::HostNotice {
 public:
  bool host_running = false;
  std::vector<std::string> notified;
  std::vector<std::string> pending;

  bool NotifyHostProduct(const std::string& full_path) override {
    notified.push_back(full_path);
    return host_running;
  }
  void RecordPendingPlugIn(const std::string& full_path) override { pending.push_back(full_path); }
};

}  // namespace testing_fakes
