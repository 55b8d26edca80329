// Host notice on Windows: a message to the running host product, else a pending entry in the
// registry that the host product reads at its next start.
#include <cwchar>
#include <iterator>

#include "installer/platform.h"
#include "installer/plugin_names.h"
#include "installer/win32/unique_handles.h"
#include "installer/win32/utf16.h"
#include "installer/win32/windows_headers.h"

namespace installer {
namespace {

using win32::UniqueGlobalAtom;
using win32::UniqueKey;

// The host product's main window: class "TMainForm" exactly, and a title that starts with the
// product name, case and all; the title may go on with a version or a document name. The class
// is compared first: it rules out nearly every window without reading its title.
constexpr wchar_t kHostWindowClass[] = L"TMainForm";
constexpr wchar_t kHostTitlePrefix[] = L"Kestrolan Web";
constexpr size_t kHostTitlePrefixLength = std::size(kHostTitlePrefix) - 1;
constexpr int kWindowTextBuffer = 256;

// The host product's "plug-in file arrived" message (WM_USER + 0x65). lParam is a global atom
// whose name is the full path of the new file, wParam that path's length in UTF-16 code units
// without the terminating zero. The host reads the atom while handling the message, so the atom
// is deleted once the send returns. Atom names hold at most 255 code units: longer paths cannot
// be sent and become pending entries instead.
constexpr UINT kPlugInArrivedMessage = 0x465;
constexpr UINT kSendTimeoutMs = 5000;

// Pending entries: one REG_SZ value per plug-in, named by the file name, holding the full path.
constexpr wchar_t kPendingKey[] = L"Software\\Mardova\\KestrolanWeb\\PlugIns";

// EnumWindows test: stops at the first host product window and stores it at `found`.
BOOL CALLBACK IsHostProductWindow(HWND window, LPARAM found) noexcept {
  wchar_t text[kWindowTextBuffer];
  if (GetClassNameW(window, text, kWindowTextBuffer) == 0 ||
      std::wcscmp(text, kHostWindowClass) != 0) {
    return TRUE;
  }
  const int length = GetWindowTextW(window, text, kWindowTextBuffer);
  if (length < static_cast<int>(kHostTitlePrefixLength) ||
      std::wmemcmp(text, kHostTitlePrefix, kHostTitlePrefixLength) != 0) {
    return TRUE;
  }
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

HWND FindHostProductWindow() {
  HWND host = nullptr;
  EnumWindows(IsHostProductWindow, reinterpret_cast<LPARAM>(&host));
  return host;
}

class Win32HostNotice final : public HostNotice {
 public:
  bool NotifyHostProduct(const std::string& full_path) override {
    const std::optional<std::wstring> path = win32::Utf8ToWide(full_path);
    if (!path) return false;
    const HWND host = FindHostProductWindow();
    if (host == nullptr) return false;
    const UniqueGlobalAtom atom(GlobalAddAtomW(path->c_str()));
    if (!atom) return false;
    // SMTO_BLOCK: while waiting, this thread handles no other message, so no further page call
    // can start an install in the middle of this one.
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(host, kPlugInArrivedMessage, path->size(), atom.get(),
                               SMTO_BLOCK | SMTO_ABORTIFHUNG, kSendTimeoutMs, &result) != 0;
  }

  void RecordPendingPlugIn(const std::string& full_path) override {
    const std::optional<std::wstring> name = win32::Utf8ToWide(FilePart(full_path));
    const std::optional<std::wstring> path = win32::Utf8ToWide(full_path);
    if (!name || !path) return;
    UniqueKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kPendingKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, key.Receive(), nullptr) != ERROR_SUCCESS) {
      return;
    }
    const DWORD size = static_cast<DWORD>((path->size() + 1) * sizeof(wchar_t));
    RegSetValueExW(key.get(), name->c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(path->c_str()), size);
  }
};

}  // namespace

std::unique_ptr<HostNotice> MakePlatformHostNotice() { return std::make_unique<Win32HostNotice>(); }

}  // namespace installer
