// isoloop-tool: everything that is not the demo itself, one subcommand each.
#include "commands.h"

#include <cstdio>
#include <cstring>

struct Command {
    const char* name;
    int (*run)(int, char**);
    const char* usage;
};

static const Command kCommands[] = {
    {"pack", cmdPack,
     "pack make OUT | pack info PACK | pack extract PACK DIR | pack build DIR OUT"},
    {"render-music", cmdRenderMusic, "render-music --seconds S --out FILE.wav [--events FILE.tsv]"},
    {"export-meshes", cmdExportMeshes, "export-meshes DIR [--format obj|ply]"},
    {"dump-textures", cmdDumpTextures, "dump-textures DIR [--pack PACK]"},
    {"frame", cmdFrame,
     "frame --incs N --time T [--funk F --flexer X --offset O] --out FILE.png [--size WxH]"},
    {"capture", cmdCapture, "capture OUT.mkv|OUT.mp4|--frames DIR [options] (capture --help)"},
};

static void usage(FILE* to) {
    fprintf(to, "usage: isoloop-tool COMMAND [ARGS]\n");
    for (const Command& c : kCommands)
        fprintf(to, "  isoloop-tool %s\n", c.usage);
}

int main(int argc, char** argv) {
    if (argc < 2) {
        usage(stderr);
        return 2;
    }
    if (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "help")) {
        usage(stdout);
        return 0;
    }
    for (const Command& c : kCommands)
        if (!std::strcmp(argv[1], c.name)) return c.run(argc - 2, argv + 2);
    fprintf(stderr, "isoloop-tool: unknown command '%s'\n", argv[1]);
    usage(stderr);
    return 2;
}
