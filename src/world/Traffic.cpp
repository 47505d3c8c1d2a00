// The ten cars: their shuttle motion along x and their drawing as white cubes.
#include "world/Traffic.h"

#include <GL/gl.h>

#include "core/GameStatus.h"

void Car::move(float frameDelta) {
    position.x = (speed * frameDelta) * CarSpeedScale + position.x;
    // Both directions test the +x face, so the cube's body overhangs the west edge by a
    // full size before it turns. No clamp: an overshoot comes back on the next passes.
    const float bound = laneLength * 0.5f;
    if ((speed > 0.0f && position.x >= bound) || (speed < 0.0f && position.x <= -bound)) {
        speed = -speed;
    }
}

namespace {
struct Face {
    float normal[3];
    float corners[4][3];
};

// Corners counter-clockwise seen from outside; X,Y,Z the maximum corner, X',Y',Z' the minimum.
std::array<Face, 6> cubeFaces(const Vec3& p, float size) {
    const float X = p.x, Y = p.y, Z = p.z;
    const float Xm = X - size, Ym = Y - size, Zm = Z - size;
    return {{
        {{0, 1, 0}, {{X, Y, Zm}, {Xm, Y, Zm}, {Xm, Y, Z}, {X, Y, Z}}},
        {{0, -1, 0}, {{X, Ym, Z}, {Xm, Ym, Z}, {Xm, Ym, Zm}, {X, Ym, Zm}}},
        {{0, 0, 1}, {{X, Y, Z}, {Xm, Y, Z}, {Xm, Ym, Z}, {X, Ym, Z}}},
        {{0, 0, -1}, {{X, Ym, Zm}, {Xm, Ym, Zm}, {Xm, Y, Zm}, {X, Y, Zm}}},
        {{-1, 0, 0}, {{Xm, Y, Z}, {Xm, Y, Zm}, {Xm, Ym, Zm}, {Xm, Ym, Z}}},
        {{1, 0, 0}, {{X, Y, Zm}, {X, Y, Z}, {X, Ym, Z}, {X, Ym, Zm}}},
    }};
}
}  // namespace

void Car::draw() const {
    const std::array<Face, 6> faces = cubeFaces(position, size);

    if (GameStatus::instance().wireframe) {
        // One loop through all 24 corners: the joins between faces show as extra lines.
        glBegin(GL_LINE_LOOP);
        for (const Face& face : faces) {
            glColor3f(1.0f, 1.0f, 1.0f);
            for (const auto& c : face.corners) glVertex3f(c[0], c[1], c[2]);
        }
        glEnd();
        return;
    }

    glEnable(GL_LIGHTING);
    glEnable(GL_COLOR_MATERIAL);
    glBegin(GL_QUADS);
    for (const Face& face : faces) {
        glColor3f(1.0f, 1.0f, 1.0f);
        glNormal3f(face.normal[0], face.normal[1], face.normal[2]);
        for (const auto& c : face.corners) glVertex3f(c[0], c[1], c[2]);
    }
    glColor3f(1.0f, 1.0f, 1.0f);
    glEnd();
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_LIGHTING);
}

void Car::moveAndDraw(float frameDelta) {
    move(frameDelta);
    draw();
}

Traffic makeTraffic() {
    // speed, size, maximum corner, lane length; lane 1 nearest the start.
    return Traffic{{
        {0.057f, 2.0f, {10.0f, 2.0f, 40.0f}, 50.0f},
        {0.03f, 2.0f, {10.0f, 3.0f, 30.0f}, 50.0f},
        {0.042f, 2.0f, {10.0f, 2.0f, 20.0f}, 50.0f},
        {0.045f, 2.0f, {10.0f, 3.9f, 10.0f}, 50.0f},
        {0.06f, 2.0f, {10.0f, 3.0f, 0.0f}, 50.0f},
        {0.036f, 2.0f, {10.0f, 2.0f, -10.0f}, 50.0f},
        {0.027f, 2.0f, {10.0f, 3.9f, -20.0f}, 50.0f},
        {0.045f, 2.0f, {10.0f, 2.0f, -30.0f}, 50.0f},
        {0.06f, 2.0f, {10.0f, 3.9f, -40.0f}, 50.0f},
        {0.09f, 2.0f, {10.0f, 3.0f, -50.0f}, 50.0f},
    }};
}
