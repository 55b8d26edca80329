// Entry of plugin-generator-dev on Linux.
#include "app/dev_tool.h"

int main(int argc, char** argv) { return app::RunDevTool({argv + 1, argv + argc}); }
