// Writing a finished plug-in file into its folder under Documents/KestrolanWeb/PlugIns.
#include "installer/plugin_installer.h"

#include "installer/base64.h"
#include "installer/plugin_names.h"

namespace installer {

InstallResult InstallPlugInFile(std::string_view base64_text, std::string_view file_name,
                                PlugInStore& store) {
  if (!IsPlainFileName(file_name)) return {};
  const std::optional<std::string> documents = store.DocumentsFolder();
  if (!documents) return {};

  const char sep = store.Separator();
  const std::string level1 = *documents + "KestrolanWeb" + sep;
  const std::string level2 = level1 + "PlugIns" + sep;
  const std::string folder = level2 + std::string(BaseName(file_name)) + sep;
  InstallResult result{folder + std::string(file_name), false};
  if (store.MakeFolder(level1) && store.MakeFolder(level2) && store.MakeFolder(folder)) {
    result.written = SavePlugInFile(base64_text, result.full_path, store);
  }
  return result;
}

bool SavePlugInFile(std::string_view base64_text, const std::string& full_path,
                    PlugInStore& store) {
  const std::optional<std::string> bytes = DecodeBase64(base64_text);
  if (!bytes || bytes->empty()) return false;
  return store.ReplaceFile(full_path, *bytes);
}

}  // namespace installer
