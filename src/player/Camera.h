// The camera rig: carries the player's place (target), the two views, the mouse orbit
// and the arrow-key flags of the current pass.
#pragma once

#include "core/Vec3.h"

// The rectangle the target must stay strictly inside: (minX, maxX, minZ, maxZ).
struct MoveBounds {
    float minX;
    float maxX;
    float minZ;
    float maxZ;
};

// Where every run starts: the eye behind and above the duck's place at the start line.
constexpr Vec3 CameraStartEye{6.0f, 5.0f, 70.0f};
constexpr Vec3 CameraStartTarget{0.0f, 3.0f, 60.0f};

// 3x3 rotation of v about a (normalised) axis by angle radians, right-handed.
Vec3 rotateAboutAxis(float angle, Vec3 axis, Vec3 v);

struct Camera {
    Vec3 eye;
    Vec3 target;
    Vec3 forward;
    Vec3 right;
    Vec3 up;
    Vec3 heading;
    float distance = 0.0f;
    float pitch = 0.0f;  // degrees
    float yaw = 0.0f;    // degrees
    float mouseSensitivity = 6.0f;
    float moveSpeed = 15.0f;
    bool orbitView = true;
    float mouseDeltaX = 0.0f;
    float mouseDeltaY = 0.0f;
    bool keyForward = false;
    bool keyBackward = false;
    bool keyLeft = false;
    bool keyRight = false;
    bool orbitPlaced = false;

    // Eye (6, 5, 70), target (0, 3, 60), orbit view.
    Camera();

    void reset(Vec3 newEye, Vec3 newTarget);
    // Places the eye, moves by the arrow flags, orbits by the mouse, then gluLookAt.
    // pauseMovement keeps the target still (the paused pass); the mouse is held back
    // by suppressMouse.
    void update(double stepSeconds, const MoveBounds& bounds, bool suppressMouse,
                bool pauseMovement = false);
    // The pure part of update: everything but the gluLookAt call.
    void step(double stepSeconds, const MoveBounds& bounds, bool suppressMouse,
              bool pauseMovement = false);
    // The eye handed to gluLookAt: the stored eye with its height floored at 0.5.
    Vec3 lookAtEye() const;

    // Both take seconds (negative: backward / left); the distance is amount x moveSpeed.
    // A move whose target would leave the bounds is dropped whole.
    void moveAlongHeading(const MoveBounds& bounds, float amount);
    void strafe(const MoveBounds& bounds, float amount);
    void orbitYaw(float amount);
    void orbitPitch(float amount);
    // Arrow-key movement of one step (the movement rules).
    void applyMovement(double stepSeconds, const MoveBounds& bounds);

private:
    void computeBasis();
};
