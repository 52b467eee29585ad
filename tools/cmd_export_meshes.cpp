// isoloop-tool export-meshes DIR [--format obj|ply]: builds the eight solids
// as start-up leaves them (scaled) and writes one file per solid, named after
// it: positions and vertex normals with %.17g, triangles in stored order.
#include "args.h"
#include "commands.h"
#include "output_dir.h"
#include "output_files.h"

#include "geometry/solids.h"
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct namedSolid {
    const char* name;
    metaBuilder* mesh;
};

const namedSolid kSolids[8] = {
    {"mb", &mb},
    {"stoned_forest", &stoned_forest},
    {"stoned_mountain", &stoned_mountain},
    {"julia", &julia},
    {"pillars", &pillars},
    {"pyramid", &pyramid},
    {"lost_forest", &lost_forest},
    {"lost_jaw", &lost_jaw},
};

void writeObj(FILE* f, const char* name, const object13& m) {
    fprintf(f,
            "# isoloop solid %s: %u vertices, %u triangles, counter-clockwise seen from outside\n",
            name, m.numVertices, m.numTriangles);
    fprintf(f, "o %s\n", name);
    for (uint32_t i = 0; i < m.numVertices; i++)
        fprintf(f, "v %.17g %.17g %.17g\n", m.vertices[i].x, m.vertices[i].y, m.vertices[i].z);
    for (uint32_t i = 0; i < m.numVertices; i++)
        fprintf(f, "vn %.17g %.17g %.17g\n", m.normals[i].x, m.normals[i].y, m.normals[i].z);
    for (uint32_t i = 0; i < m.numTriangles; i++) {
        const uint16_t* v = m.triangles[i].v;
        fprintf(f, "f %d//%d %d//%d %d//%d\n", v[0] + 1, v[0] + 1, v[1] + 1, v[1] + 1, v[2] + 1,
                v[2] + 1);
    }
}

void writePly(FILE* f, const char* name, const object13& m) {
    fprintf(f, "ply\nformat ascii 1.0\ncomment isoloop solid %s\n", name);
    fprintf(f, "element vertex %u\n", m.numVertices);
    for (const char* p : {"x", "y", "z", "nx", "ny", "nz"})
        fprintf(f, "property double %s\n", p);
    fprintf(f, "element face %u\nproperty list uchar int vertex_indices\nend_header\n",
            m.numTriangles);
    for (uint32_t i = 0; i < m.numVertices; i++)
        fprintf(f, "%.17g %.17g %.17g %.17g %.17g %.17g\n", m.vertices[i].x, m.vertices[i].y,
                m.vertices[i].z, m.normals[i].x, m.normals[i].y, m.normals[i].z);
    for (uint32_t i = 0; i < m.numTriangles; i++) {
        const uint16_t* v = m.triangles[i].v;
        fprintf(f, "3 %d %d %d\n", v[0], v[1], v[2]);
    }
}

bool writeSolid(OutputDir& dir, const std::string& file, const char* name, const object13& m,
                bool ply) {
    std::string why;
    if (FILE* f = dir.create(file, &why)) {
        if (ply)
            writePly(f, name, m);
        else
            writeObj(f, name, m);
        if (closeOutput(f, &why)) return true;
    }
    fprintf(stderr, "isoloop-tool export-meshes: cannot write '%s': %s\n", dir.shown(file).c_str(),
            why.c_str());
    return false;
}

const CommandSyntax kSyntax{"export-meshes",
                            "usage: isoloop-tool export-meshes DIR [--format obj|ply]\n",
                            {"--format"},
                            {}};

} // namespace

int cmdExportMeshes(int argc, char** argv) {
    ParsedArgs a;
    if (int status = parseArgs(kSyntax, argc, argv, &a); status >= 0) return status;
    std::string format = "obj";
    for (const auto& [name, value] : a.options) {
        format = value; // --format is the only option
        if (format != "obj" && format != "ply")
            return usageError(kSyntax, "unknown format '" + format + "'");
    }
    if (a.operands.empty() || a.operands[0].empty())
        return usageError(kSyntax, "missing output directory");
    if (a.operands.size() > 1) return usageError(kSyntax, "only one output directory");
    if (a.operands[0] == "-") return usageError(kSyntax, "'-' is not a directory");
    const std::string& dir = a.operands[0];

    // The eight files appear together or not at all.
    OutputFiles outputs({OUTPUT_STOP_SIGNALS});
    OutputDir out(outputs);
    std::string why, failed;
    if (!out.open(dir, &why)) {
        fprintf(stderr, "isoloop-tool export-meshes: cannot write '%s': %s\n", dir.c_str(),
                why.c_str());
        return 1;
    }
    buildSolidMeshes();
    printf("\n");
    for (const namedSolid& s : kSolids)
        if (!writeSolid(out, std::string(s.name) + "." + format, s.name, *s.mesh, format == "ply"))
            return 1;
    if (!outputs.commit(&failed)) {
        fprintf(stderr, "isoloop-tool export-meshes: cannot write '%s': %s\n", failed.c_str(),
                strerror(errno));
        return 1;
    }
    for (const namedSolid& s : kSolids)
        printf("wrote %s\n", out.shown(std::string(s.name) + "." + format).c_str());
    return 0;
}
