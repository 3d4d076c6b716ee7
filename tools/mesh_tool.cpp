// mesh_tool: converts text meshes to the binary mesh format and describes mesh files.
//   mesh_tool convert <mesh> <out.ddd>   read a text (or binary) mesh, write it in the binary format
//   mesh_tool info <mesh>...             frames, records, triangles and bounds of each mesh
// Load failures also go to ErrorLog.txt in the temp folder, as in the runtime.
#include <algorithm>
#include <cfloat>
#include <cstdio>
#include <cstring>

#include "runtime/gfx3d/mesh.h"
#include "runtime/gfx3d/mesh_file.h"

using namespace rt;

static int usage()
{
    fprintf(stderr, "usage: mesh_tool convert <mesh> <out.ddd>\n"
                    "       mesh_tool info <mesh>...\n");
    return 2;
}

static bool load(MeshObjectX& mesh, const char* path)
{
    if (loadMesh(mesh, path, false)) return true;
    fprintf(stderr, "mesh_tool: cannot read a mesh from %s (details in the error log)\n", path);
    return false;
}

static void describe(const char* path, MeshObjectX& mesh)
{
    mesh.prepare();
    computeBoundingSpheres(mesh);
    printf("%s: %s mesh, %zu frame(s), %zu palette entries, %zu texture coordinates%s\n", path,
           mesh.loaded ? "binary" : "text", mesh.frames.size(), mesh.palette.size(), mesh.u.size(),
           mesh.coloured ? ", coloured" : "");
    for (size_t f = 0; f < mesh.frames.size(); ++f) {
        const MeshFrame& frame = mesh.frames[f];
        float low[3] = {FLT_MAX, FLT_MAX, FLT_MAX}, high[3] = {-FLT_MAX, -FLT_MAX, -FLT_MAX};
        for (const MeshVertex& vertex : frame.triangles)
            for (int axis = 0; axis < 3; ++axis) {
                low[axis] = std::min(low[axis], vertex.position[axis]);
                high[axis] = std::max(high[axis], vertex.position[axis]);
            }
        printf("  frame %zu: %zu records, %zu triangles", f, frame.records.size(),
               frame.triangles.size() / 3);
        if (!frame.triangles.empty())
            printf(", bounds (%g %g %g) - (%g %g %g), sphere (%g %g %g) radius %g", low[0], low[1], low[2],
                   high[0], high[1], high[2], frame.boundingCentre[0], frame.boundingCentre[1],
                   frame.boundingCentre[2], frame.boundingRadius);
        printf("\n");
    }
}

int main(int argc, char** argv)
{
    if (argc < 3) return usage();
    if (strcmp(argv[1], "convert") == 0) {
        if (argc != 4) return usage();
        MeshObjectX mesh;
        if (!load(mesh, argv[2])) return 1;
        if (!saveMesh(mesh, argv[3])) {
            fprintf(stderr, "mesh_tool: cannot write %s\n", argv[3]);
            return 1;
        }
        describe(argv[2], mesh);
        printf("written to %s\n", argv[3]);
        return 0;
    }
    if (strcmp(argv[1], "info") == 0) {
        int failures = 0;
        for (int i = 2; i < argc; ++i) {
            MeshObjectX mesh;
            if (load(mesh, argv[i]))
                describe(argv[i], mesh);
            else
                ++failures;
        }
        return failures ? 1 : 0;
    }
    return usage();
}
