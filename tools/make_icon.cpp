// isoloop-icon SIZE OUT.png: writes the application icon at SIZE x SIZE
// pixels. A build step for the installed hicolor icons; not installed.
#include "args.h"
#include "texture/art/icon.h"
#include "texture/art/png_io.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    const CommandSyntax syntax{"icon", "usage: isoloop-icon SIZE OUT.png\n", {}, {}};
    ParsedArgs a;
    if (int status = parseArgs(syntax, argc - 1, argv + 1, &a); status >= 0) return status;
    int size = 0;
    if (a.operands.size() != 2 || !parseInt(a.operands[0].c_str(), 8, 1024, &size))
        return usageError(syntax, "needs a size of 8 to 1024 pixels and a file name");
    std::string error;
    if (!writePng(a.operands[1], drawIcon(size), true, &error)) {
        fprintf(stderr, "isoloop-icon: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
