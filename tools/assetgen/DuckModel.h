// The duck mesh: closed, smooth parts built from parametric surfaces, written as OBJ.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "MathUtil.h"

namespace assetgen {

struct Corner {
    int position, texCoord, normal;  // 0-based indices into the mesh lists
};

struct Face {
    int count;  // 3 or 4
    Corner corner[4];
};

struct Mesh {
    std::vector<Vec3> positions;
    std::vector<Vec2> texCoords;
    std::vector<Vec3> normals;
    std::vector<Face> faces;
};

// A closed surface: u in [0, 1) runs around (periodic), v in [0, 1] from one pole to the
// other; every point with v = 0 (or v = 1) must be the same point.
using SurfaceFn = std::function<Vec3(double u, double v)>;
// Texture coordinate of the surface point at (u, v).
using TexCoordFn = std::function<Vec2(double u, double v, Vec3 point)>;

// Adds the surface as a grid of quads closed by triangle fans at the poles, wound
// counter-clockwise seen from outside, with normals pointing outward.
void addClosedSurface(Mesh& mesh, const SurfaceFn& surface, const TexCoordFn& texCoord,
                      int segmentsU, int segmentsV);

// Model units: height along +z from 0, bill toward -y, centred on x = 0 and y = 0.
Mesh buildDuckMesh();

// Writes only v, vt, vn and f lines (plus comments) with 1-based indices.
void writeObj(const Mesh& mesh, const std::string& path);

}  // namespace assetgen
