// Host notice on Linux: there is no host product window to tell, so every plug-in is recorded
// as a pending entry in $XDG_CONFIG_HOME/Mardova/KestrolanWeb/PlugIns.ini, group [PlugIns],
// key = file name, value = full path.
#include <glib.h>

#include <cstdio>

#include "installer/platform.h"
#include "installer/plugin_names.h"

namespace installer {
namespace {

constexpr char kGroup[] = "PlugIns";

struct KeyFileDeleter {
  void operator()(GKeyFile* file) const { g_key_file_free(file); }
};
struct GFreeDeleter {
  void operator()(void* memory) const { g_free(memory); }
};
using KeyFile = std::unique_ptr<GKeyFile, KeyFileDeleter>;
using GString = std::unique_ptr<char, GFreeDeleter>;

// Key files cannot hold every file name as a key: "=" ends a key, "[" starts a locale, a leading
// "#" makes a comment and outer spaces are trimmed. Those characters, and "%" itself, are written
// as %XX so that every entry survives a reload; other names stay as they are.
std::string EntryKey(std::string_view file_name) {
  std::string key;
  for (size_t i = 0; i < file_name.size(); ++i) {
    const char c = file_name[i];
    const bool outer_space = c == ' ' && (i == 0 || i + 1 == file_name.size());
    if (c == '%' || c == '=' || c == '[' || c == ']' || (c == '#' && i == 0) || outer_space) {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(c));
      key += escaped;
    } else {
      key += c;
    }
  }
  return key;
}

class LinuxHostNotice final : public HostNotice {
 public:
  bool NotifyHostProduct(const std::string&) override { return false; }

  void RecordPendingPlugIn(const std::string& full_path) override {
    const GString folder(g_build_filename(g_get_user_config_dir(), "Mardova", "KestrolanWeb",
                                          nullptr));
    if (g_mkdir_with_parents(folder.get(), 0700) != 0) return;
    const GString path(g_build_filename(folder.get(), "PlugIns.ini", nullptr));

    // Keep every other entry: load what is there, change one key, write it back atomically.
    KeyFile entries(g_key_file_new());
    g_key_file_load_from_file(entries.get(), path.get(), G_KEY_FILE_KEEP_COMMENTS, nullptr);
    const std::string key = EntryKey(FilePart(full_path));
    g_key_file_set_string(entries.get(), kGroup, key.c_str(), full_path.c_str());
    g_key_file_save_to_file(entries.get(), path.get(), nullptr);
  }
};

}  // namespace

std::unique_ptr<HostNotice> MakePlatformHostNotice() {
  return std::make_unique<LinuxHostNotice>();
}

}  // namespace installer
