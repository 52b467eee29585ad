// pack make/info/extract/build/sheet: writes the default picture pack, lists
// a pack, turns a pack into eleven PNG files and back, and draws a contact
// sheet. Nothing is written until every input has been read and checked.
#include "args.h"
#include "commands.h"
#include "output_dir.h"
#include "output_files.h"

#include "texture/art/artwork.h"
#include "texture/art/contact_sheet.h"
#include "texture/art/pack_convert.h"
#include "texture/art/png_io.h"
#include "texture/pack_file.h"
#include "texture/pack_layout.h"
#include "texture/pack_writer.h"
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <set>

namespace {

const char kUsage[] = "usage: isoloop-tool pack make OUT\n"
                      "       isoloop-tool pack info PACK\n"
                      "       isoloop-tool pack extract PACK DIR\n"
                      "       isoloop-tool pack build DIR OUT\n"
                      "       isoloop-tool pack sheet PACK OUT.png\n";

int fail(const char* command, const std::string& message) {
    fprintf(stderr, "isoloop-tool pack %s: %s\n", command, message.c_str());
    return 1;
}

std::string imageName(int k) {
    char name[32];
    std::snprintf(name, sizeof name, "image-%02d.png", k);
    return name;
}

std::string imageFile(const std::string& dir, int k) {
    return dir + "/" + imageName(k);
}

// Writes output file `out` through `write` (which reports its own failure in
// *error): under a temporary name, renamed into place when whole; into a
// pipe or device as it is. Returns the exit status.
int writeOutput(const char* command, const std::string& out,
                const std::function<bool(FILE*, std::string*)>& write) {
    OutputFiles outputs({OUTPUT_STOP_SIGNALS});
    std::string why, failed;
    int fd = openOutput(outputs, out, false, &why);
    FILE* f = fd < 0 ? nullptr : streamOf(fd);
    if (!f)
        return fail(command,
                    "cannot write '" + out + "': " + (fd < 0 ? why : std::strerror(errno)));
    if (!write(f, &why)) {
        fclose(f);
        return fail(command, why);
    }
    if (!closeOutput(f, &why)) return fail(command, "cannot write '" + out + "': " + why);
    if (!outputs.commit(&failed))
        return fail(command, "cannot write '" + failed + "': " + std::strerror(errno));
    return 0;
}

int packMake(const char* out) {
    ArtFonts fonts;
    if (!fonts.ok()) return fail("make", fonts.error());
    std::vector<PackPicture> pictures(PACK_IMAGES);
    std::string error;
    for (int k = 0; k < PACK_IMAGES; k++)
        if (!imageToPicture(drawDefaultPicture(k, fonts), k, 0.0f, &pictures[k], &error))
            return fail("make", "picture " + std::to_string(k) + ": " + error);
    return writeOutput(
        "make", out, [&](FILE* f, std::string* why) { return writePackTo(f, out, pictures, why); });
}

int packInfo(const char* path) {
    std::vector<PackPicture> pictures;
    std::string error;
    if (!readPackFile(path, &pictures, &error)) return fail("info", error);
    printf("%s: a whole picture pack, %d bytes, %d images\n", path, (int)PACK_SIZE, PACK_IMAGES);
    printf(" #   offset      size  colours  use\n");
    for (int k = 0; k < PACK_IMAGES; k++) {
        const PackImage& im = kPackImages[k];
        std::set<unsigned char> used(pictures[k].index.begin(), pictures[k].index.end());
        printf("%2d %8d %4dx%-4d %8zu  %s\n", k, im.offset, im.width, im.height, used.size(),
               kPackImageRoles[k]);
    }
    return 0;
}

int packExtract(const char* path, const std::string& dir) {
    std::vector<PackPicture> pictures;
    std::string error;
    if (!readPackFile(path, &pictures, &error)) return fail("extract", error);
    // The eleven files appear together or not at all.
    OutputFiles outputs({OUTPUT_STOP_SIGNALS});
    OutputDir out(outputs);
    if (!out.open(dir, &error)) return fail("extract", "cannot write '" + dir + "': " + error);
    for (int k = 0; k < PACK_IMAGES; k++) {
        std::string name = out.shown(imageName(k));
        FILE* f = out.create(imageName(k), &error);
        if (!f) return fail("extract", "cannot write '" + name + "': " + error);
        if (!writePngTo(f, name, pictureToImage(pictures[k], k), k != 0, &error)) {
            fclose(f);
            return fail("extract", error);
        }
        if (!closeOutput(f, &error))
            return fail("extract", "cannot write '" + name + "': " + error);
    }
    std::string failed;
    if (!outputs.commit(&failed))
        return fail("extract", "cannot write '" + failed + "': " + std::strerror(errno));
    return 0;
}

int packBuild(const std::string& dir, const char* out) {
    std::vector<PackPicture> pictures(PACK_IMAGES);
    std::string error;
    for (int k = 0; k < PACK_IMAGES; k++) {
        std::string file = imageFile(dir, k);
        RgbaImage im;
        if (!readPng(file, kPackImages[k].width, kPackImages[k].height, &im, &error))
            return fail("build", error);
        if (!imageToPicture(im, k, 0.5f, &pictures[k], &error))
            return fail("build", file + ": " + error);
    }
    return writeOutput("build", out, [&](FILE* f, std::string* why) {
        return writePackTo(f, out, pictures, why);
    });
}

int packSheet(const char* path, const char* out) {
    std::vector<PackPicture> pictures;
    std::string error;
    if (!readPackFile(path, &pictures, &error)) return fail("sheet", error);
    ArtFonts fonts;
    if (!fonts.ok()) return fail("sheet", fonts.error());
    RgbaImage sheet = contactSheet(pictures, fonts);
    return writeOutput("sheet", out, [&](FILE* f, std::string* why) {
        return writePngTo(f, out, sheet, false, why);
    });
}

} // namespace

int cmdPack(int argc, char** argv) {
    const CommandSyntax syntax{"pack", kUsage, {}, {}};
    ParsedArgs a;
    if (int status = parseArgs(syntax, argc, argv, &a); status >= 0) return status;
    const std::vector<std::string>& op = a.operands;
    if (op.empty()) return usageError(syntax, "missing subcommand");
    // Packs and pictures are files: every one is written under a temporary name.
    for (size_t k = 1; k < op.size(); k++)
        if (op[k] == "-" || op[k].empty())
            return usageError(syntax, "'" + op[k] + "' is not a file name");
    const std::string& sub = op[0];
    const char* p1 = op.size() > 1 ? op[1].c_str() : "";
    if (sub == "make" && op.size() == 2) return packMake(p1);
    if (sub == "info" && op.size() == 2) return packInfo(p1);
    if (sub == "extract" && op.size() == 3) return packExtract(p1, op[2]);
    if (sub == "build" && op.size() == 3) return packBuild(p1, op[2].c_str());
    if (sub == "sheet" && op.size() == 3) return packSheet(p1, op[2].c_str());
    if (sub != "make" && sub != "info" && sub != "extract" && sub != "build" && sub != "sheet")
        return usageError(syntax, "unknown subcommand '" + sub + "'");
    return usageError(syntax, "wrong number of arguments for '" + sub + "'");
}
