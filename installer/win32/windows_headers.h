// The Windows headers, as every Windows file of this program includes them.
#pragma once

// clang-format off
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
// clang-format on

// winbase.h maps the name ReplaceFile to ReplaceFileW, and installer::PlugInStore has a member of
// that name: it must mean the same member in every file, whichever headers came first.
#undef ReplaceFile
