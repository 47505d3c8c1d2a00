// Day and night skies as functions of the viewing direction (y up, -z toward the goal).
#include "SkyBox.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "Noise.h"
#include "core/SkyboxFaces.h"

namespace assetgen {

namespace {
SkyboxFace fromTable(const SkyboxFaceCorners& table) {
    SkyboxFace face{table.name, {}, {}};
    for (int k = 0; k < 4; ++k) {
        const SkyboxCorner& c = table.corners[k];
        face.st[k] = {c.s, c.t};
        face.position[k] = {c.x, c.y, c.z};
    }
    return face;
}
}  // namespace

// The game's own table, so that the pictures fit the box it draws.
const SkyboxFace kSkyboxFaces[6] = {fromTable(SkyboxFaceTable[0]), fromTable(SkyboxFaceTable[1]), fromTable(SkyboxFaceTable[2]),
                                    fromTable(SkyboxFaceTable[3]), fromTable(SkyboxFaceTable[4]), fromTable(SkyboxFaceTable[5])};

namespace {

Vec3 cornerFor(const SkyboxFace& face, double s, double t) {
    for (int k = 0; k < 4; ++k)
        if (face.st[k].x == s && face.st[k].y == t) return face.position[k];
    return {};
}

}  // namespace

Vec3 SkyboxFace::pointAt(double s, double t) const {
    Vec3 p00 = cornerFor(*this, 0, 0), p10 = cornerFor(*this, 1, 0);
    Vec3 p01 = cornerFor(*this, 0, 1), p11 = cornerFor(*this, 1, 1);
    return p00 * ((1 - s) * (1 - t)) + p10 * (s * (1 - t)) + p01 * ((1 - s) * t) + p11 * (s * t);
}

bool SkyboxFace::texCoordOf(Vec3 dir, double& s, double& t) const {
    Vec3 origin = pointAt(0, 0);
    Vec3 alongS = pointAt(1, 0) - origin, alongT = pointAt(0, 1) - origin;
    Vec3 centre = pointAt(0.5, 0.5);  // unit length: the face's outward axis
    double k = dot(dir, centre);
    if (k <= 1e-9) return false;
    Vec3 onPlane = dir * (1.0 / k) - origin;
    s = dot(onPlane, alongS) / dot(alongS, alongS);
    t = dot(onPlane, alongT) / dot(alongT, alongT);
    return true;
}

namespace {

constexpr double kDegree = kPi / 180.0;

Vec3 directionFrom(double elevationDeg, double azimuthDeg) {
    // Azimuth 0 looks along -z, positive azimuth turns toward +x.
    double e = elevationDeg * kDegree, a = azimuthDeg * kDegree;
    return {std::cos(e) * std::sin(a), std::sin(e), -std::cos(e) * std::cos(a)};
}

const Vec3 kSunDirection = directionFrom(25.0, 20.0);
const Vec3 kMoonDirection = directionFrom(28.0, -25.0);

// About one pixel at the middle of a face: the width of every soft edge.
constexpr double kEdge = 0.5 * kPi / kSkyFaceSize;

double azimuthTurns(Vec3 d) {
    double turns = std::atan2(d.x, -d.z) / (2.0 * kPi);
    return turns < 0 ? turns + 1.0 : turns;
}

double elevationOf(Vec3 d) { return std::asin(std::max(-1.0, std::min(1.0, d.y))); }

// The distant horizon all round: a far range of hazy hills, nearer green hills and, in
// front of them, a ragged treeline with open gaps. Elevations in radians, periodic in
// azimuth.
double farHillTop(double turns) {
    return 0.012 + 0.08 * clamp01(0.45 + 0.9 * fractalNoise(turns * 5.0, 0.5, 5, 0, 5, 0.55, 301u));
}

double nearHillTop(double turns) {
    return 0.006 + 0.04 * clamp01(0.4 + 0.9 * fractalNoise(turns * 9.0, 1.5, 9, 0, 4, 0.5, 304u));
}

double treeTop(double turns) {
    double groves = smoothstep(-0.15, 0.15, fractalNoise(turns * 11.0, 2.5, 11, 0, 2, 0.5, 302u));
    double crowns = 0.5 + 0.6 * fractalNoise(turns * 160.0, 4.5, 160, 0, 3, 0.55, 303u);
    return 0.003 + groves * (0.01 + 0.02 * clamp01(crowns));
}

struct Horizon {
    double farHills, nearHills, trees;  // coverage in [0, 1]
};

Horizon horizonAt(Vec3 d) {
    double turns = azimuthTurns(d), el = elevationOf(d);
    return {smoothstep(kEdge, -kEdge, el - farHillTop(turns)), smoothstep(kEdge, -kEdge, el - nearHillTop(turns)),
            smoothstep(kEdge, -kEdge, el - treeTop(turns))};
}

Color daySky(Vec3 d) {
    double el = elevationOf(d);
    const Color zenith = rgb8(44, 98, 196);
    const Color horizonBlue = rgb8(186, 212, 236);
    const Color haze = rgb8(214, 226, 236);

    double up = std::max(0.0, d.y);
    Color sky = mix(horizonBlue, zenith, std::pow(up, 0.55));
    sky = mix(haze, sky, smoothstep(0.0, 0.08, el));

    double cosSun = dot(d, kSunDirection);
    double sunAngle = std::acos(std::max(-1.0, std::min(1.0, cosSun)));
    Color sunTint = rgb8(255, 236, 200);
    sky = sky + sunTint * (0.25 * std::pow(std::max(0.0, cosSun), 24.0) + 0.3 * std::exp(-sunAngle / 0.03));

    if (d.y > 0.0) {
        // Clouds on a flat layer overhead, thinning toward the horizon and kept clear
        // of the sun's disc.
        double scale = 1.0 / (d.y + 0.12);
        double cx = d.x * scale * 2.2, cz = d.z * scale * 2.2;
        double density = fractalNoise(cx, cz, 0, 0, 6, 0.52, 401u);
        double detail = fractalNoise(cx * 3.0, cz * 3.0, 0, 0, 3, 0.5, 402u);
        double cover = smoothstep(0.05, 0.45, density + 0.15 * detail);
        cover *= smoothstep(0.015, 0.12, d.y) * smoothstep(0.1, 0.25, sunAngle);
        double thickness = smoothstep(0.2, 0.8, density);
        Color cloud = mix(rgb8(250, 250, 252), rgb8(188, 196, 212), 0.7 * thickness);
        cloud = cloud + sunTint * (0.12 * std::pow(std::max(0.0, cosSun), 6.0) * (1.0 - thickness));
        // Lit clouds stay a shade below the sun's disc.
        cloud = cloud * std::min(1.0, 0.96 / std::max({cloud.r, cloud.g, cloud.b}));
        sky = mix(sky, cloud, 0.92 * cover);
    }

    double disc = smoothstep(0.028 + kEdge, 0.028 - kEdge, sunAngle);
    sky = mix(sky, rgb8(255, 252, 236), disc);

    Horizon h = horizonAt(d);
    Color farHills = mix(haze, rgb8(92, 120, 140), 0.45);
    Color nearHills = mix(haze, rgb8(70, 108, 72), 0.6);
    Color trees = mix(haze, rgb8(40, 70, 48), 0.78);
    sky = mix(sky, farHills, h.farHills);
    sky = mix(sky, nearHills, h.nearHills);
    sky = mix(sky, trees, h.trees);

    if (el < 0.0) {
        // Hazy farmland below the horizon, a patchwork that fades into the haze.
        double scale = 1.0 / (-d.y + 0.02);
        double gx = d.x * scale * 0.35, gz = d.z * scale * 0.35;
        double patch = fractalNoise(gx, gz, 0, 0, 3, 0.5, 501u);
        Color field = mix(rgb8(50, 92, 38), rgb8(92, 114, 52), clamp01(0.5 + patch));
        Color ground = mix(mix(haze, field, 0.55), field, smoothstep(0.0, 0.06, -el));
        sky = mix(sky, ground, smoothstep(0.0, -2.0 * kEdge, el));
    }
    return sky;
}

struct Star {
    Vec3 direction;
    double brightness, sigma;
    Color tint;
};

std::vector<Star> makeStars() {
    Random random(0x5EED5747ull);
    std::vector<Star> stars;
    for (int i = 0; i < 2600; ++i) {
        double y = random.range(-1.0, 1.0);
        double angle = random.range(0.0, 2.0 * kPi);
        double ring = std::sqrt(std::max(0.0, 1.0 - y * y));
        Star star;
        star.direction = {ring * std::cos(angle), y, ring * std::sin(angle)};
        double m = random.uniform();
        star.brightness = 0.25 + 1.6 * std::pow(m, 7.0);
        star.sigma = kEdge * (0.55 + 0.7 * std::pow(m, 5.0));
        double hue = random.uniform();
        star.tint = hue < 0.2 ? rgb8(255, 220, 190) : (hue < 0.45 ? rgb8(200, 215, 255) : rgb8(255, 255, 255));
        stars.push_back(star);
    }
    return stars;
}

// Brightness of the stars per pixel of one face, splatted around each star's projection.
std::vector<Color> starLight(const SkyboxFace& face) {
    static const std::vector<Star> stars = makeStars();
    std::vector<Color> light(static_cast<size_t>(kSkyFaceSize) * kSkyFaceSize);
    for (const Star& star : stars) {
        double s, t;
        if (!face.texCoordOf(star.direction, s, t)) continue;
        int column = static_cast<int>(std::floor(s * kSkyFaceSize));
        int row = static_cast<int>(std::floor(t * kSkyFaceSize));
        for (int r = row - 4; r <= row + 4; ++r) {
            if (r < 0 || r >= kSkyFaceSize) continue;
            for (int c = column - 4; c <= column + 4; ++c) {
                if (c < 0 || c >= kSkyFaceSize) continue;
                Vec3 d = normalize(face.pointAt((c + 0.5) / kSkyFaceSize, (r + 0.5) / kSkyFaceSize));
                double angle2 = 2.0 * std::max(0.0, 1.0 - dot(d, star.direction));
                double w = star.brightness * std::exp(-angle2 / (2.0 * star.sigma * star.sigma));
                Color& px = light[static_cast<size_t>(r) * kSkyFaceSize + c];
                px = px + star.tint * w;
            }
        }
    }
    return light;
}

Color nightSky(Vec3 d, Color stars) {
    double el = elevationOf(d);
    const Color zenith = rgb8(3, 5, 16);
    const Color low = rgb8(14, 22, 44);
    double up = std::max(0.0, d.y);
    Color sky = mix(low, zenith, std::pow(up, 0.45));

    // A faint band of the galaxy across the sky.
    Vec3 bandNormal = normalize(Vec3{0.35, 0.55, 0.76});
    Vec3 bandA = normalize(cross(bandNormal, Vec3{0, 1, 0}));
    Vec3 bandB = cross(bandNormal, bandA);
    double across = dot(d, bandNormal);
    double alongTurns = std::atan2(dot(d, bandB), dot(d, bandA)) / (2.0 * kPi) + 0.5;
    double clumps = 0.5 + 0.6 * fractalNoise(alongTurns * 24.0, across * 12.0, 24, 0, 5, 0.55, 601u);
    double band = std::exp(-std::pow(across / 0.16, 2.0)) * clamp01(clumps);
    sky = sky + rgb8(52, 56, 76) * (0.55 * band);

    double cosMoon = dot(d, kMoonDirection);
    double moonAngle = std::acos(std::max(-1.0, std::min(1.0, cosMoon)));
    sky = sky + rgb8(60, 70, 100) * (0.6 * std::exp(-moonAngle / 0.09)) +
          rgb8(30, 36, 60) * (0.5 * std::exp(-moonAngle / 0.4));

    // Stars dim near the horizon and vanish where the moon outshines them.
    double visible = smoothstep(0.0, 0.12, el) * smoothstep(0.05, 0.12, moonAngle) * (1.0 + 0.8 * band);
    sky = sky + stars * visible;

    const double moonRadius = 0.04;
    if (moonAngle < moonRadius + 2 * kEdge) {
        Vec3 right = normalize(cross(Vec3{0, 1, 0}, kMoonDirection));
        Vec3 upOnDisc = cross(kMoonDirection, right);
        double mx = dot(d, right) / moonRadius, my = dot(d, upOnDisc) / moonRadius;
        double maria = fractalNoise(mx * 1.8 + 5.0, my * 1.8 + 5.0, 0, 0, 4, 0.5, 602u);
        double limb = std::sqrt(std::max(0.0, 1.0 - mx * mx - my * my));
        Color moon = mix(rgb8(238, 238, 226), rgb8(170, 172, 170), smoothstep(0.0, 0.35, maria));
        moon = moon * (0.8 + 0.2 * limb);
        sky = mix(sky, moon, smoothstep(moonRadius + kEdge, moonRadius - kEdge, moonAngle));
    }

    Horizon h = horizonAt(d);
    sky = mix(sky, rgb8(9, 13, 24), h.farHills);
    sky = mix(sky, rgb8(6, 9, 15), h.nearHills);
    sky = mix(sky, rgb8(3, 5, 8), h.trees);
    if (el < 0.0) sky = mix(sky, rgb8(3, 5, 6), smoothstep(0.0, -0.05, el));
    return sky;
}

}  // namespace

Image paintSkyFace(const SkyboxFace& face, bool night) {
    Image image(kSkyFaceSize, kSkyFaceSize);
    std::vector<Color> stars;
    if (night) stars = starLight(face);
    for (int row = 0; row < kSkyFaceSize; ++row) {
        // Row 0 of the face is t = 0, the bottom of the picture; Image rows run top-down.
        int imageY = kSkyFaceSize - 1 - row;
        double t = (row + 0.5) / kSkyFaceSize;
        for (int column = 0; column < kSkyFaceSize; ++column) {
            double s = (column + 0.5) / kSkyFaceSize;
            Vec3 d = normalize(face.pointAt(s, t));
            Color c = night ? nightSky(d, stars[static_cast<size_t>(row) * kSkyFaceSize + column])
                            : daySky(d);
            image.set(column, imageY, c);
        }
    }
    return image;
}

}  // namespace assetgen
