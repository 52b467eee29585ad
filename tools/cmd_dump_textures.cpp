// dump-textures DIR [--pack PACK]: writes the eighteen textures as
// texture-00.png .. texture-17.png, built exactly as the demo builds them,
// with the channels GL makes of them (RGB for the three colour-only slots).
// Rows are flipped so each file shows texture row 0 at the bottom, as the
// scenes do. PACK defaults to julia.3ds next to this tool.
#include "args.h"
#include "commands.h"
#include "output_dir.h"
#include "output_files.h"

#include "base/working_dir.h"
#include "texture/art/png_io.h"
#include "texture/pack_file.h"
#include "texture/texture_builder.h"
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

int fail(const std::string& message) {
    fprintf(stderr, "isoloop-tool dump-textures: %s\n", message.c_str());
    return 1;
}

// Points workingDir at the pack's directory; returns the pack's file name.
bool aimAtPack(const std::string& pack, std::string* name, std::string* error) {
    char* real = realpath(pack.c_str(), nullptr);
    if (!real) {
        *error = pack + ": " + std::strerror(errno);
        return false;
    }
    std::string path(real);
    std::free(real);
    size_t slash = path.rfind('/');
    std::string dir = slash == 0 ? "/" : path.substr(0, slash);
    if (dir.size() >= sizeof workingDir) {
        *error = pack + ": path too long";
        return false;
    }
    std::memcpy(workingDir, dir.c_str(), dir.size() + 1);
    *name = path.substr(slash + 1);
    return true;
}

RgbaImage texelImage(int slot, const unsigned char* bytes) {
    const TextureSlot& s = kTextureSlots[slot];
    RgbaImage im(s.width, s.height);
    for (int y = 0; y < s.height; y++)
        for (int x = 0; x < s.width; x++)
            texelChannels(bytes + 4 * ((size_t)y * s.width + x), s.format,
                          im.at(x, s.height - 1 - y));
    return im;
}

} // namespace

int cmdDumpTextures(int argc, char** argv) {
    const CommandSyntax syntax{
        "dump-textures", "usage: isoloop-tool dump-textures DIR [--pack PACK]\n", {"--pack"}, {}};
    ParsedArgs a;
    if (int status = parseArgs(syntax, argc, argv, &a); status >= 0) return status;
    std::string pack;
    for (const auto& option : a.options)
        if ((pack = option.second).empty()) // --pack is the only option
            return usageError(syntax, "--pack needs a file name");
    if (a.operands.size() != 1 || a.operands[0].empty() || a.operands[0] == "-")
        return usageError(syntax, "needs one output directory");
    const std::string& dir = a.operands[0];
    if (pack.empty()) {
        std::string self = executablePath("isoloop-tool");
        size_t slash = self.rfind('/');
        pack =
            (slash == std::string::npos ? std::string(".") : self.substr(0, slash)) + "/julia.3ds";
    }
    std::vector<PackPicture> check;
    std::string name, error;
    if (!readPackFile(pack, &check, &error) || !aimAtPack(pack, &name, &error)) return fail(error);
    // The eighteen files appear together or not at all.
    OutputFiles outputs({OUTPUT_STOP_SIGNALS});
    OutputDir out(outputs);
    if (!out.open(dir, &error)) return fail("cannot write '" + dir + "': " + error);

    std::vector<unsigned int> work(WORK_WORDS, 0u);
    buildTextures(
        work.data(),
        [&](int slot, const unsigned char* bytes) {
            char file[32];
            std::snprintf(file, sizeof file, "texture-%02d.png", slot);
            if (!error.empty()) return;
            std::string shown = out.shown(file), why;
            FILE* f = out.create(file, &why);
            if (!f) {
                error = "cannot write '" + shown + "': " + why;
                return;
            }
            if (!writePngTo(f, shown, texelImage(slot, bytes), kTextureSlots[slot].components == 4,
                            &error)) {
                fclose(f);
                return;
            }
            if (!closeOutput(f, &why)) error = "cannot write '" + shown + "': " + why;
        },
        name.c_str());
    if (!error.empty()) return fail(error);
    std::string failed;
    if (!outputs.commit(&failed))
        return fail("cannot write '" + failed + "': " + std::strerror(errno));
    return 0;
}
