// isoloop-tool: everything that is not the demo itself, one subcommand each.
#include "args.h"
#include "commands.h"
#include "standard_streams.h"

#include <cstdio>
#include <cstring>

struct Command {
    const char* name;
    int (*run)(int, char**);
    const char* usage;
};

static const Command kCommands[] = {
    {"pack", cmdPack,
     "pack make OUT\npack info PACK\npack extract PACK DIR\npack build DIR OUT\n"
     "pack sheet PACK OUT.png"},
    {"render-music", cmdRenderMusic,
     "render-music --seconds S --out FILE.wav|.flac|.ogg|.mp3|- [--events FILE.tsv]"},
    {"export-meshes", cmdExportMeshes, "export-meshes DIR [--format obj|ply]"},
    {"dump-textures", cmdDumpTextures, "dump-textures DIR [--pack PACK]"},
    {"frame", cmdFrame,
     "frame --incs N --time T [--funk F --flexer X --offset O] --out FILE.png [--size WxH]"},
    {"capture", cmdCapture, "capture OUT.mkv|OUT.mp4|--frames DIR [options] (capture --help)"},
};

static void usage(FILE* to) {
    fprintf(to, "usage: isoloop-tool COMMAND [ARGS]\n");
    for (const Command& c : kCommands)
        for (const char* line = c.usage; *line;) { // one line per form
            size_t n = std::strcspn(line, "\n");
            fprintf(to, "  isoloop-tool %.*s\n", (int)n, line);
            line += n + (line[n] == '\n');
        }
    fprintf(to, "  isoloop-tool --version\n"
                "Every command takes -h or --help.\n");
}

int main(int argc, char** argv) {
    openClosedStandardStreams();
    if (argc < 2) {
        fprintf(stderr, "isoloop-tool: missing command\nTry 'isoloop-tool --help'.\n");
        return 2;
    }
    const char* first = argv[1];
    if (!std::strcmp(first, "-h") || !std::strcmp(first, "--help") || !std::strcmp(first, "help")) {
        usage(stdout);
        return 0;
    }
    if (!std::strcmp(first, "--version")) {
        printVersion();
        return 0;
    }
    for (const Command& c : kCommands)
        if (!std::strcmp(first, c.name)) return c.run(argc - 2, argv + 2);
    fprintf(stderr, "isoloop-tool: unknown %s '%s'\nTry 'isoloop-tool --help'.\n",
            first[0] == '-' ? "option" : "command", first);
    return 2;
}
