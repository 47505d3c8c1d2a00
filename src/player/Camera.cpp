// The camera rig: basis, the two views, the mouse orbit and the arrow-key movement.
// Arithmetic is single precision; roots and trigonometry go through double and back,
// so the angles come out the same on every build.
#include "player/Camera.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <algorithm>
#include <cmath>

namespace {

constexpr float PitchLimit = 89.9f;
constexpr Vec3 FixedOffset{11.0f, 10.0f, 13.0f};

float sinF(float v) { return static_cast<float>(std::sin(static_cast<double>(v))); }
float cosF(float v) { return static_cast<float>(std::cos(static_cast<double>(v))); }
float acosF(float v) { return static_cast<float>(std::acos(static_cast<double>(v))); }

// The game's own eight-decimal pi, not the full constant.
float degrees(float radians) {
    const float product = radians * 180.0f;
    return static_cast<float>(product / 3.14159265);
}

// Mouse pixels to radians.
float mouseAngle(float amount, float sensitivity) {
    const float scaled = amount * sensitivity;
    return static_cast<float>(scaled * 0.0005);
}

using namespace vecmath;

// A zero vector stays zero rather than turning into NaNs that would poison the eye.
Vec3 normalize(Vec3 a) {
    const float len = length(a);
    if (len == 0.0f) return a;
    return scale(a, 1.0f / len);
}

float clampUnit(float v) { return std::min(1.0f, std::max(-1.0f, v)); }

bool inside(const MoveBounds& b, const Vec3& p) {
    return b.minX < p.x && p.x < b.maxX && b.minZ < p.z && p.z < b.maxZ;
}

}  // namespace

Vec3 rotateAboutAxis(float angle, Vec3 axis, Vec3 v) {
    // The upper 3x3 of the identity rotated about the axis, column-major.
    const float c = cosF(angle);
    const float s = sinF(angle);
    const Vec3 u = normalize(axis);
    const Vec3 t = scale(u, 1.0f - c);
    const Vec3 col0{c + t.x * u.x, t.x * u.y + s * u.z, t.x * u.z - s * u.y};
    const Vec3 col1{t.y * u.x - s * u.z, c + t.y * u.y, t.y * u.z + s * u.x};
    const Vec3 col2{t.z * u.x + s * u.y, t.z * u.y - s * u.x, c + t.z * u.z};
    return {col0.x * v.x + col1.x * v.y + col2.x * v.z, col0.y * v.x + col1.y * v.y + col2.y * v.z,
            col0.z * v.x + col1.z * v.y + col2.z * v.z};
}

Camera::Camera() { reset(CameraStartEye, CameraStartTarget); }

void Camera::computeBasis() {
    forward = normalize(sub(target, eye));
    right = normalize(cross(Vec3{0.0f, 1.0f, 0.0f}, neg(forward)));
    up = cross(neg(forward), right);
    if (forward.x == 0.0f && forward.z == 0.0f) {
        heading = up;
    } else {
        heading = normalize(Vec3{forward.x, 0.0f, forward.z});
    }
}

void Camera::reset(Vec3 newEye, Vec3 newTarget) {
    eye = newEye;
    target = newTarget;
    computeBasis();
    distance = length(sub(eye, target));
    pitch = degrees(acosF(clampUnit(dot(heading, forward))));
    yaw = degrees(acosF(clampUnit(dot(heading, Vec3{0.0f, 0.0f, -1.0f}))));
}

void Camera::orbitYaw(float amount) {
    const float angle = mouseAngle(amount, mouseSensitivity);
    eye = add(target, rotateAboutAxis(angle, Vec3{0.0f, 1.0f, 0.0f}, sub(eye, target)));
    yaw = yaw + degrees(angle);
    computeBasis();
}

void Camera::orbitPitch(float amount) {
    const float angle = mouseAngle(amount, mouseSensitivity);
    const float newPitch = pitch - degrees(angle);
    // Only a turn that would carry the pitch further past the limit is refused, so the
    // player can always look back.
    const bool refused = (newPitch > PitchLimit && angle < 0.0f) || (newPitch < -PitchLimit && angle > 0.0f);
    if (!refused) {
        pitch = newPitch;
        const Vec3 arm = scale(normalize(sub(eye, target)), distance);
        eye = add(target, rotateAboutAxis(angle, right, arm));
    }
    computeBasis();
}

void Camera::moveAlongHeading(const MoveBounds& bounds, float amount) {
    const float m = amount * moveSpeed;
    const Vec3 newTarget{target.x + m * heading.x, target.y, target.z + m * heading.z};
    const Vec3 newEye{eye.x + m * heading.x, eye.y, eye.z + m * heading.z};
    if (!inside(bounds, newTarget)) return;  // all or nothing: no clamping to the edge
    target = newTarget;
    eye = newEye;
}

void Camera::strafe(const MoveBounds& bounds, float amount) {
    const float m = amount * moveSpeed;
    const Vec3 newEye = add(eye, scale(right, m));
    const Vec3 newTarget = add(target, scale(right, m));
    if (!inside(bounds, newTarget)) return;
    target = newTarget;
    eye = newEye;
}

void Camera::applyMovement(double stepSeconds, const MoveBounds& bounds) {
    double s = stepSeconds;
    if ((keyForward || keyBackward) && (keyLeft || keyRight)) s = s / std::sqrt(2.0);
    // Each move is tried on its own, so a blocked direction lets the duck slide along
    // the edge in the other one.
    if (keyForward) moveAlongHeading(bounds, static_cast<float>(s));
    if (keyBackward) moveAlongHeading(bounds, static_cast<float>(-s));
    if (keyLeft) strafe(bounds, static_cast<float>(-s));
    if (keyRight) strafe(bounds, static_cast<float>(s));
}

void Camera::step(double stepSeconds, const MoveBounds& bounds, bool suppressMouse, bool pauseMovement) {
    if (!orbitView) {
        eye = add(target, FixedOffset);
        heading = Vec3{0.0f, 0.0f, -1.0f};
        right = Vec3{1.0f, 0.0f, 0.0f};
    } else if (!orbitPlaced) {
        const Vec3 placed = add(target, scale(normalize(sub(eye, target)), distance));
        reset(placed, target);
        orbitPlaced = true;
    }

    if (!pauseMovement) applyMovement(stepSeconds, bounds);

    // A motion seen while paused is kept and applied on the first playing step.
    if (orbitView && !suppressMouse && (mouseDeltaX != 0.0f || mouseDeltaY != 0.0f)) {
        orbitYaw(-mouseDeltaX);
        orbitPitch(-mouseDeltaY);
        mouseDeltaX = 0.0f;
        mouseDeltaY = 0.0f;
    }
}

Vec3 Camera::lookAtEye() const { return {eye.x, std::max(eye.y, 0.5f), eye.z}; }

void Camera::update(double stepSeconds, const MoveBounds& bounds, bool suppressMouse, bool pauseMovement) {
    step(stepSeconds, bounds, suppressMouse, pauseMovement);
    // The floor keeps the view above the ground; the stored eye keeps its height.
    const Vec3 viewEye = lookAtEye();
    gluLookAt(viewEye.x, viewEye.y, viewEye.z, target.x, target.y, target.z, 0.0, 1.0, 0.0);
}
