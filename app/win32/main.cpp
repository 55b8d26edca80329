// Entry of plugin-generator on Windows. It takes no command line.
#include "app/shell.h"

int wmain() { return app::RunShell(app::kStartAddress); }
