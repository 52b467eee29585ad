// Not built yet: this subcommand arrives with its subsystem.
#include "commands.h"

#include <cstdio>

int cmdDumpTextures(int, char**) {
    fprintf(stderr, "isoloop-tool: this command is not available yet\n");
    return 1;
}
