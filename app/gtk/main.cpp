// Entry of plugin-generator on Linux. It takes no command line.
#include "app/shell.h"

int main() { return app::RunShell(app::kStartAddress); }
