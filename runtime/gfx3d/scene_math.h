// The 3D scene's matrix and vector math: 4 × 4 matrices in the column order OpenGL takes, the
// projection and camera matrices, and the mapping between world points and screen pixels. No OpenGL
// here, so the math is testable without a display.
#pragma once

#include <array>

namespace rt {

// Column-major: element (row r, column c) is m[c * 4 + r], as glLoadMatrixf reads it.
using Matrix4 = std::array<float, 16>;

struct Vec3
{
    float x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(Vec3 a, Vec3 b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator*(Vec3 a, float s)
{
    return {a.x * s, a.y * s, a.z * s};
}
inline float dot(Vec3 a, Vec3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec3 cross(Vec3 a, Vec3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
// The vector scaled to length 1; a vector of squared length 1e-7 or less comes back unchanged.
Vec3 normalised(Vec3 v);

Matrix4 identityMatrix();
// a × b: b is applied to a point first.
Matrix4 multiply(const Matrix4& a, const Matrix4& b);
// False (out untouched) when m has no inverse.
bool invert(const Matrix4& m, Matrix4& out);
Matrix4 translationMatrix(float x, float y, float z);
Matrix4 scaleMatrix(float x, float y, float z);
// A turn by `degrees` counter-clockwise about the axis (x, y, z) seen from its tip; a zero axis
// gives the identity.
Matrix4 rotationMatrix(float degrees, float x, float y, float z);
// (x, y, z, 1) through m.
Vec3 transformPoint(const Matrix4& m, Vec3 p);
// (x, y, z, 0) through m: directions ignore translation.
Vec3 transformDirection(const Matrix4& m, Vec3 d);

// Perspective and orthographic boxes as glFrustum and glOrtho build them.
Matrix4 frustumMatrix(float left, float right, float bottom, float top, float nearPlane, float farPlane);
Matrix4 orthoMatrix(float left, float right, float bottom, float top, float nearPlane, float farPlane);
// The view from eye towards target with the given up direction; the identity when eye equals target.
Matrix4 lookAtMatrix(Vec3 eye, Vec3 target, Vec3 up);

// tan(x) for |x| below about 1.5 by the odd polynomial the projection uses.
float polynomialTangent(float x);

// What rtStart3D sets up for near, far and view angle (degrees; 0 or less = orthographic) on a
// viewport of the given size.
struct SceneProjection
{
    Matrix4 matrix;
    float cullingTangent; // tangent of the view angle widened by 5 degrees, capped near 89 degrees
    float halfHeight;     // the box's top at the near plane (perspective) or its top (orthographic)
};
SceneProjection sceneProjection(float nearPlane, float farPlane, float viewAngle, int viewportWidth,
                                int viewportHeight);

// A GL viewport: x and y of its bottom-left corner from the window's bottom left, width, height.
struct Viewport
{
    int x = 0, y = 0, width = 0, height = 0;
};

// World point to screen pixel (x from the left, y from the top of a screen `screenHeight` tall) and
// depth 0..1. False (out untouched) when the point maps to w = 0.
bool projectToScreen(const Matrix4& modelview, const Matrix4& projection, const Viewport& viewport,
                     int screenHeight, Vec3 point, double out[3]);
// The inverse of projectToScreen for a screen row counted from the top (screen y = height - 1 - window
// y, so a projected point comes back from its y - 1). False (out untouched) when the matrices cannot
// be inverted or the point maps to w = 0.
bool unprojectFromScreen(const Matrix4& modelview, const Matrix4& projection, const Viewport& viewport,
                         int screenHeight, double screenX, double screenY, double depth, double out[3]);

} // namespace rt
