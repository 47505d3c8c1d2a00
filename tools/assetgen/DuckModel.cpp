// The duck is a handful of closed, overlapping parts (body, neck, head, bill, eyes, wings,
// tail, legs, webbed feet), each a smooth parametric surface mapped into its own region
// of the texture atlas.
#include "DuckModel.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "DuckAtlas.h"

namespace assetgen {

namespace {

double signedPow(double x, double e) { return std::copysign(std::pow(std::fabs(x), e), x); }

}  // namespace

void addClosedSurface(Mesh& mesh, const SurfaceFn& surface, const TexCoordFn& texCoord,
                      int segmentsU, int segmentsV) {
    const int nu = segmentsU, nv = segmentsV;
    const size_t firstFace = mesh.faces.size();
    // Positions and normals share one layout: the rings j = 1 .. nv-1, then the two poles.
    const int base = static_cast<int>(mesh.positions.size());
    auto ring = [&](int i, int j) { return base + (j - 1) * nu + (i % nu); };

    const double h = 1e-4;
    for (int j = 1; j < nv; ++j) {
        for (int i = 0; i < nu; ++i) {
            double u = static_cast<double>(i) / nu, v = static_cast<double>(j) / nv;
            Vec3 du = surface(u + h, v) - surface(u - h, v);
            Vec3 dv = surface(u, v + h) - surface(u, v - h);
            mesh.positions.push_back(surface(u, v));
            mesh.normals.push_back(normalize(cross(du, dv)));
        }
    }
    const int top = static_cast<int>(mesh.positions.size());
    const int bottom = top + 1;
    mesh.positions.push_back(surface(0.0, 0.0));
    mesh.positions.push_back(surface(0.0, 1.0));
    // A pole's normal is the mean of its neighbouring ring, which points along the axis.
    Vec3 topNormal, bottomNormal;
    for (int i = 0; i < nu; ++i) {
        topNormal = topNormal + mesh.normals[ring(i, 1)];
        bottomNormal = bottomNormal + mesh.normals[ring(i, nv - 1)];
    }
    mesh.normals.push_back(normalize(topNormal));
    mesh.normals.push_back(normalize(bottomNormal));

    // Texture coordinates repeat the first column at u = 1 so the atlas is not wrapped.
    const int texBase = static_cast<int>(mesh.texCoords.size());
    auto tex = [&](int i, int j) { return texBase + (j - 1) * (nu + 1) + i; };
    for (int j = 1; j < nv; ++j)
        for (int i = 0; i <= nu; ++i)
            mesh.texCoords.push_back(texCoord(static_cast<double>(i) / nu,
                                              static_cast<double>(j) / nv,
                                              mesh.positions[ring(i, j)]));
    const int topTex = static_cast<int>(mesh.texCoords.size());
    for (int i = 0; i < nu; ++i)
        mesh.texCoords.push_back(texCoord((i + 0.5) / nu, 0.0, mesh.positions[top]));
    const int bottomTex = static_cast<int>(mesh.texCoords.size());
    for (int i = 0; i < nu; ++i)
        mesh.texCoords.push_back(texCoord((i + 0.5) / nu, 1.0, mesh.positions[bottom]));

    auto corner = [](int position, int texIndex) { return Corner{position, texIndex, position}; };
    for (int i = 0; i < nu; ++i)
        mesh.faces.push_back(Face{3, {corner(top, topTex + i), corner(ring(i + 1, 1), tex(i + 1, 1)),
                                      corner(ring(i, 1), tex(i, 1)), {}}});
    for (int j = 1; j < nv - 1; ++j)
        for (int i = 0; i < nu; ++i)
            mesh.faces.push_back(Face{4, {corner(ring(i, j), tex(i, j)),
                                          corner(ring(i + 1, j), tex(i + 1, j)),
                                          corner(ring(i + 1, j + 1), tex(i + 1, j + 1)),
                                          corner(ring(i, j + 1), tex(i, j + 1))}});
    for (int i = 0; i < nu; ++i)
        mesh.faces.push_back(Face{3, {corner(ring(i, nv - 1), tex(i, nv - 1)),
                                      corner(ring(i + 1, nv - 1), tex(i + 1, nv - 1)),
                                      corner(bottom, bottomTex + i), {}}});

    // The parametrisation may run either way round; the enclosed volume tells which, and
    // a negative one turns both the winding and the normals of this part.
    double volume = 0.0;
    for (size_t f = firstFace; f < mesh.faces.size(); ++f) {
        const Face& face = mesh.faces[f];
        Vec3 p0 = mesh.positions[face.corner[0].position];
        for (int k = 1; k + 1 < face.count; ++k)
            volume += dot(p0, cross(mesh.positions[face.corner[k].position],
                                    mesh.positions[face.corner[k + 1].position]));
    }
    if (volume < 0.0) {
        for (size_t f = firstFace; f < mesh.faces.size(); ++f) {
            Face& face = mesh.faces[f];
            std::swap(face.corner[1], face.corner[face.count - 1]);
        }
        for (size_t n = base; n < mesh.normals.size(); ++n) mesh.normals[n] = -mesh.normals[n];
    }
}

namespace {

// A tube between two points whose ends close in rounded caps. endShape < 1 makes the
// sides straighter and the caps blunter; crossShape < 1 squares the cross-section.
struct Sweep {
    Vec3 start, end;
    Vec3 side, lift;  // cross-section axes
    std::function<double(double s)> halfSide, halfLift;
    double endShape = 1.0, crossShape = 1.0;
    std::function<Vec3(double s)> bend;  // optional offset of the centre line

    double along(double v) const { return 0.5 - 0.5 * signedPow(std::cos(kPi * v), endShape); }

    Vec3 point(double u, double v) const {
        double s = along(v);
        double r = std::pow(std::fabs(std::sin(kPi * v)), endShape);
        double phi = 2.0 * kPi * u;
        Vec3 centre = start + (end - start) * s;
        if (bend) centre = centre + bend(s);
        double cs = signedPow(std::cos(phi), crossShape), cl = signedPow(std::sin(phi), crossShape);
        return centre + side * (r * halfSide(s) * cs) + lift * (r * halfLift(s) * cl);
    }
};

TexCoordFn regionMap(const AtlasRegion& region) {
    return [region](double u, double v, Vec3) { return region.texCoord(u, v); };
}

TexCoordFn sweepMap(const AtlasRegion& region, const Sweep& sweep) {
    // Follows the length of the part rather than the pole angle, so the paint of a
    // region is spread evenly along it.
    return [region, sweep](double u, double v, Vec3) { return region.texCoord(u, sweep.along(v)); };
}

// Body: an egg with a flat belly whose rear sweeps up toward the tail. Pole axis along y,
// u = 0 on the back; the atlas's b runs from the breast (0) to the rump (1).
const Vec3 kBodyCentre{0.0, 1.5, 8.8};

constexpr double kBodyHalfLength = 11.0;

double bodyHalfWidth(double yn, double rho) { return 6.8 * rho * (1.0 + 0.06 * yn - 0.1 * yn * yn); }
double bodyMidHeight(double yn) {
    double rear = std::max(0.0, yn), front = std::max(0.0, -yn);
    return 3.4 * rear * rear - 0.8 * front * front;
}

Vec3 bodyPoint(double u, double v) {
    double theta = kPi * v, phi = 2.0 * kPi * u;
    double yn = -std::cos(theta), rho = std::sin(theta);
    double xn = rho * std::sin(phi), zn = rho * std::cos(phi);
    if (zn < 0.0) zn *= 0.8;
    double x = bodyHalfWidth(yn, 1.0) * xn;
    double z = 6.0 * zn + bodyMidHeight(yn);
    return kBodyCentre + Vec3{x, kBodyHalfLength * yn, z};
}

// Half-width of the body's upper half at (y, z): where a folded wing lies against it.
double bodySurfaceX(double y, double z) {
    double yn = std::max(-0.999, std::min(0.999, (y - kBodyCentre.y) / kBodyHalfLength));
    double rho = std::sqrt(1.0 - yn * yn);
    double height = (z - kBodyCentre.z - bodyMidHeight(yn)) / (6.0 * rho);
    return bodyHalfWidth(yn, rho) * std::sqrt(std::max(0.0, 1.0 - height * height));
}

// Folded wing: a shell laid over the flank, following the body's curve so no edge
// stands off it; the tip ends high on the side of the rump. u = 0 faces out, u = 0.25 is the upper
// edge; the atlas's b runs from the shoulder to the tip.
double wingAlong(double v) { return 0.5 - 0.5 * signedPow(std::cos(kPi * v), 0.7); }

Vec3 wingPoint(double u, double v, double sideSign) {
    double s = wingAlong(v);
    double r = std::pow(std::sin(kPi * v), 0.7);
    double phi = 2.0 * kPi * u;
    double lift = r * 2.8 * (1.0 - 0.55 * s) * std::sin(phi);
    double y = -4.6 + 14.8 * s - 0.25 * lift;
    double z = 9.8 + 2.8 * s + 0.4 * std::sin(kPi * s) + lift;
    double x = bodySurfaceX(y, z) + 0.1 + 0.6 * r * std::cos(phi);
    return {sideSign * x, y, z};
}

const Vec3 kHeadCentre{0.0, -8.4, 19.4};
const Vec3 kHeadRadii{4.3, 5.2, 4.5};

Vec3 headPoint(double u, double v) {
    double theta = kPi * v, phi = 2.0 * kPi * u;
    double yn = -std::cos(theta), rho = std::sin(theta);
    double xn = rho * std::sin(phi), zn = rho * std::cos(phi);
    // Fuller cheeks low down, a slightly flatter crown.
    double x = kHeadRadii.x * xn * (1.0 + 0.08 * std::max(0.0, -zn));
    double z = kHeadRadii.z * zn * (zn > 0.0 ? 0.92 : 1.0);
    return kHeadCentre + Vec3{x, kHeadRadii.y * yn, z};
}

// Webbed foot: a thin slab with a fan-shaped outline and three toes at the front.
Vec3 footPoint(double u, double v, double sideSign) {
    double theta = kPi * v, phi = 2.0 * kPi * u;
    double zc = std::cos(theta);
    double radial = std::pow(std::sin(theta), 0.35);
    double X = radial * std::cos(phi), Y = radial * std::sin(phi);  // Y: toward the toes
    double frontness = 0.5 * (Y + 1.0);
    double x = X * 2.4 * (0.3 + 0.7 * frontness);
    double forward = Y * 2.7 + 0.55 * std::pow(std::max(0.0, Y), 2.0) * std::cos(3.0 * kPi * X);
    double z = 0.4 * signedPow(zc, 0.35);
    // Toes splay a little outward.
    double angle = sideSign * 0.22;
    double xr = x * std::cos(angle) + forward * std::sin(angle);
    double fr = -x * std::sin(angle) + forward * std::cos(angle);
    return Vec3{sideSign * 3.3, -1.6, 0.4} + Vec3{xr, -fr, z};
}

void addEye(Mesh& mesh, double sideSign) {
    const double radius = 0.95;
    Vec3 dir = normalize(Vec3{sideSign * 0.62, -0.62, 0.5});
    double t = 1.0 / std::sqrt(std::pow(dir.x / kHeadRadii.x, 2) + std::pow(dir.y / kHeadRadii.y, 2) +
                               std::pow(dir.z / kHeadRadii.z, 2));
    Vec3 onHead = kHeadCentre + dir * t;
    Vec3 out = normalize(Vec3{dir.x / (kHeadRadii.x * kHeadRadii.x), dir.y / (kHeadRadii.y * kHeadRadii.y),
                              dir.z / (kHeadRadii.z * kHeadRadii.z)});
    Vec3 centre = onHead - out * (0.45 * radius);
    // Frame of the projected eye picture: a toward the bill, b downward, for both eyes.
    Vec3 forward = normalize(Vec3{0, -1, 0} - out * dot(Vec3{0, -1, 0}, out));
    Vec3 up = cross(forward, out) * sideSign;
    if (up.z < 0) up = -up;
    auto surface = [=](double u, double v) {
        double theta = kPi * v, phi = 2.0 * kPi * u;
        return centre + out * (radius * std::cos(theta)) +
               forward * (radius * std::sin(theta) * std::cos(phi)) +
               up * (radius * std::sin(theta) * std::sin(phi));
    };
    auto texCoord = [=](double, double, Vec3 p) {
        Vec3 local = (p - centre) * (1.0 / radius);
        return atlas::kEye.texCoord(0.5 + 0.5 * dot(local, forward), 0.5 - 0.5 * dot(local, up));
    };
    addClosedSurface(mesh, surface, texCoord, 16, 10);
}

void normalizePlacement(Mesh& mesh, double lengthAlongY) {
    Vec3 lo = mesh.positions.front(), hi = lo;
    for (const Vec3& p : mesh.positions) {
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
    double scale = lengthAlongY / (hi.y - lo.y);
    Vec3 shift{-(lo.x + hi.x) * 0.5, -(lo.y + hi.y) * 0.5, -lo.z};
    for (Vec3& p : mesh.positions) p = (p + shift) * scale;
}

}  // namespace

Mesh buildDuckMesh() {
    Mesh mesh;
    addClosedSurface(mesh, bodyPoint, regionMap(atlas::kBody), 40, 24);
    addClosedSurface(mesh, headPoint, regionMap(atlas::kHead), 28, 18);

    Sweep neck;
    neck.start = {0.0, -5.4, 10.8};
    neck.end = {0.0, -8.2, 18.6};
    neck.side = {1, 0, 0};
    neck.lift = normalize(cross(neck.end - neck.start, neck.side));
    neck.halfSide = [](double s) { return 3.7 - 1.0 * s; };
    neck.halfLift = [](double s) { return 3.9 - 1.0 * s; };
    neck.endShape = 0.6;
    addClosedSurface(mesh, [neck](double u, double v) { return neck.point(u, v); },
                     sweepMap(atlas::kNeck, neck), 20, 10);

    Sweep bill;
    bill.start = {0.0, -11.6, 18.2};
    bill.end = {0.0, -19.2, 17.3};
    bill.side = {1, 0, 0};
    bill.lift = {0, 0, 1};
    bill.halfSide = [](double s) { return 1.9 + 0.6 * s; };
    bill.halfLift = [](double s) { return 1.25 - 0.55 * s; };
    bill.endShape = 0.55;
    bill.crossShape = 0.75;
    addClosedSurface(mesh, [bill](double u, double v) { return bill.point(u, v); },
                     sweepMap(atlas::kBill, bill), 24, 12);

    addEye(mesh, 1.0);
    addEye(mesh, -1.0);

    Sweep tail;
    tail.start = {0.0, 8.0, 11.9};
    tail.end = {0.0, 15.0, 16.4};
    tail.side = {1, 0, 0};
    tail.lift = normalize(cross(tail.end - tail.start, tail.side));
    tail.halfSide = [](double s) { return 3.0 * (1.0 - 0.35 * s); };
    tail.halfLift = [](double s) { return 1.1 * (1.0 - 0.5 * s); };
    tail.endShape = 0.6;
    addClosedSurface(mesh, [tail](double u, double v) { return tail.point(u, v); },
                     sweepMap(atlas::kTail, tail), 16, 10);

    for (double sideSign : {1.0, -1.0}) {
        addClosedSurface(mesh, [sideSign](double u, double v) { return wingPoint(u, v, sideSign); },
                         [](double u, double v, Vec3) { return atlas::kWing.texCoord(u, wingAlong(v)); },
                         20, 12);

        Sweep leg;
        leg.start = {sideSign * 2.8, 1.2, 5.2};
        leg.end = {sideSign * 3.0, -0.2, 0.6};
        leg.side = {1, 0, 0};
        leg.lift = {0, 1, 0};
        leg.halfSide = [](double) { return 0.65; };
        leg.halfLift = [](double) { return 0.65; };
        leg.endShape = 0.4;
        addClosedSurface(mesh, [leg](double u, double v) { return leg.point(u, v); },
                         sweepMap(atlas::kFeet, leg), 10, 6);

        addClosedSurface(mesh, [sideSign](double u, double v) { return footPoint(u, v, sideSign); },
                         regionMap(atlas::kFeet), 32, 10);
    }

    normalizePlacement(mesh, 33.0);
    return mesh;
}

namespace {

// Fixed decimals keep the file stable; "-0.0000" is written as "0.0000".
std::string fixed(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text(buffer);
    if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    return text;
}

}  // namespace

void writeObj(const Mesh& mesh, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    if (!out) throw std::runtime_error("cannot write " + path);
    out << "# Larkmere duck: height along +z from 0, bill toward -y.\n";
    out << "# Texture coordinates index Duck.jpg with v measured down from its top row.\n";
    for (const Vec3& p : mesh.positions)
        out << "v " << fixed(p.x, 4) << ' ' << fixed(p.y, 4) << ' ' << fixed(p.z, 4) << '\n';
    for (const Vec2& t : mesh.texCoords) out << "vt " << fixed(t.x, 5) << ' ' << fixed(t.y, 5) << '\n';
    for (const Vec3& n : mesh.normals)
        out << "vn " << fixed(n.x, 4) << ' ' << fixed(n.y, 4) << ' ' << fixed(n.z, 4) << '\n';
    for (const Face& face : mesh.faces) {
        out << 'f';
        for (int k = 0; k < face.count; ++k)
            out << ' ' << face.corner[k].position + 1 << '/' << face.corner[k].texCoord + 1 << '/'
                << face.corner[k].normal + 1;
        out << '\n';
    }
    if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace assetgen
