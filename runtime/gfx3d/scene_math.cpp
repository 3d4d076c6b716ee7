// Matrices, the projection set-up and the world-to-screen mapping of the 3D scene.
#include "runtime/gfx3d/scene_math.h"

#include <cmath>

namespace rt {

namespace {

constexpr double degreesPerRadian = 57.29578;
// The view angle beyond which the widened culling angle is held near 89 degrees (radians).
constexpr float cappedCullingAngle = 1.553343f;

float& at(Matrix4& m, int row, int column)
{
    return m[column * 4 + row];
}

} // namespace

Vec3 normalised(Vec3 v)
{
    float squared = dot(v, v);
    if (!(squared > 1e-7f)) return v;
    return v * (1.0f / std::sqrt(squared));
}

Matrix4 identityMatrix()
{
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

Matrix4 multiply(const Matrix4& a, const Matrix4& b)
{
    Matrix4 product{};
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += double(a[k * 4 + row]) * b[column * 4 + k];
            product[column * 4 + row] = float(sum);
        }
    return product;
}

bool invert(const Matrix4& m, Matrix4& out)
{
    // Cofactors of the transposed layout; the determinant from the first column's expansion.
    double a[16], inv[16];
    for (int i = 0; i < 16; ++i)
        a[i] = m[i];
    inv[0] = a[5] * a[10] * a[15] - a[5] * a[11] * a[14] - a[9] * a[6] * a[15] + a[9] * a[7] * a[14] +
             a[13] * a[6] * a[11] - a[13] * a[7] * a[10];
    inv[4] = -a[4] * a[10] * a[15] + a[4] * a[11] * a[14] + a[8] * a[6] * a[15] - a[8] * a[7] * a[14] -
             a[12] * a[6] * a[11] + a[12] * a[7] * a[10];
    inv[8] = a[4] * a[9] * a[15] - a[4] * a[11] * a[13] - a[8] * a[5] * a[15] + a[8] * a[7] * a[13] +
             a[12] * a[5] * a[11] - a[12] * a[7] * a[9];
    inv[12] = -a[4] * a[9] * a[14] + a[4] * a[10] * a[13] + a[8] * a[5] * a[14] - a[8] * a[6] * a[13] -
              a[12] * a[5] * a[10] + a[12] * a[6] * a[9];
    inv[1] = -a[1] * a[10] * a[15] + a[1] * a[11] * a[14] + a[9] * a[2] * a[15] - a[9] * a[3] * a[14] -
             a[13] * a[2] * a[11] + a[13] * a[3] * a[10];
    inv[5] = a[0] * a[10] * a[15] - a[0] * a[11] * a[14] - a[8] * a[2] * a[15] + a[8] * a[3] * a[14] +
             a[12] * a[2] * a[11] - a[12] * a[3] * a[10];
    inv[9] = -a[0] * a[9] * a[15] + a[0] * a[11] * a[13] + a[8] * a[1] * a[15] - a[8] * a[3] * a[13] -
             a[12] * a[1] * a[11] + a[12] * a[3] * a[9];
    inv[13] = a[0] * a[9] * a[14] - a[0] * a[10] * a[13] - a[8] * a[1] * a[14] + a[8] * a[2] * a[13] +
              a[12] * a[1] * a[10] - a[12] * a[2] * a[9];
    inv[2] = a[1] * a[6] * a[15] - a[1] * a[7] * a[14] - a[5] * a[2] * a[15] + a[5] * a[3] * a[14] +
             a[13] * a[2] * a[7] - a[13] * a[3] * a[6];
    inv[6] = -a[0] * a[6] * a[15] + a[0] * a[7] * a[14] + a[4] * a[2] * a[15] - a[4] * a[3] * a[14] -
             a[12] * a[2] * a[7] + a[12] * a[3] * a[6];
    inv[10] = a[0] * a[5] * a[15] - a[0] * a[7] * a[13] - a[4] * a[1] * a[15] + a[4] * a[3] * a[13] +
              a[12] * a[1] * a[7] - a[12] * a[3] * a[5];
    inv[14] = -a[0] * a[5] * a[14] + a[0] * a[6] * a[13] + a[4] * a[1] * a[14] - a[4] * a[2] * a[13] -
              a[12] * a[1] * a[6] + a[12] * a[2] * a[5];
    inv[3] = -a[1] * a[6] * a[11] + a[1] * a[7] * a[10] + a[5] * a[2] * a[11] - a[5] * a[3] * a[10] -
             a[9] * a[2] * a[7] + a[9] * a[3] * a[6];
    inv[7] = a[0] * a[6] * a[11] - a[0] * a[7] * a[10] - a[4] * a[2] * a[11] + a[4] * a[3] * a[10] +
             a[8] * a[2] * a[7] - a[8] * a[3] * a[6];
    inv[11] = -a[0] * a[5] * a[11] + a[0] * a[7] * a[9] + a[4] * a[1] * a[11] - a[4] * a[3] * a[9] -
              a[8] * a[1] * a[7] + a[8] * a[3] * a[5];
    inv[15] = a[0] * a[5] * a[10] - a[0] * a[6] * a[9] - a[4] * a[1] * a[10] + a[4] * a[2] * a[9] +
              a[8] * a[1] * a[6] - a[8] * a[2] * a[5];
    double determinant = a[0] * inv[0] + a[1] * inv[4] + a[2] * inv[8] + a[3] * inv[12];
    if (determinant == 0 || !std::isfinite(determinant)) return false;
    for (int i = 0; i < 16; ++i)
        out[i] = float(inv[i] / determinant);
    return true;
}

Matrix4 translationMatrix(float x, float y, float z)
{
    Matrix4 m = identityMatrix();
    m[12] = x;
    m[13] = y;
    m[14] = z;
    return m;
}

Matrix4 scaleMatrix(float x, float y, float z)
{
    Matrix4 m = identityMatrix();
    m[0] = x;
    m[5] = y;
    m[10] = z;
    return m;
}

Matrix4 rotationMatrix(float degrees, float x, float y, float z)
{
    double length = std::sqrt(double(x) * x + double(y) * y + double(z) * z);
    if (!(length > 0)) return identityMatrix();
    double ax = x / length, ay = y / length, az = z / length;
    double radians = degrees / degreesPerRadian;
    double c = std::cos(radians), s = std::sin(radians), t = 1 - c;
    Matrix4 m = identityMatrix();
    at(m, 0, 0) = float(t * ax * ax + c);
    at(m, 0, 1) = float(t * ax * ay - s * az);
    at(m, 0, 2) = float(t * ax * az + s * ay);
    at(m, 1, 0) = float(t * ax * ay + s * az);
    at(m, 1, 1) = float(t * ay * ay + c);
    at(m, 1, 2) = float(t * ay * az - s * ax);
    at(m, 2, 0) = float(t * ax * az - s * ay);
    at(m, 2, 1) = float(t * ay * az + s * ax);
    at(m, 2, 2) = float(t * az * az + c);
    return m;
}

Vec3 transformPoint(const Matrix4& m, Vec3 p)
{
    return {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12], m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
            m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]};
}

Vec3 transformDirection(const Matrix4& m, Vec3 d)
{
    return {m[0] * d.x + m[4] * d.y + m[8] * d.z, m[1] * d.x + m[5] * d.y + m[9] * d.z,
            m[2] * d.x + m[6] * d.y + m[10] * d.z};
}

Matrix4 frustumMatrix(float left, float right, float bottom, float top, float nearPlane, float farPlane)
{
    Matrix4 m{};
    at(m, 0, 0) = 2 * nearPlane / (right - left);
    at(m, 0, 2) = (right + left) / (right - left);
    at(m, 1, 1) = 2 * nearPlane / (top - bottom);
    at(m, 1, 2) = (top + bottom) / (top - bottom);
    at(m, 2, 2) = -(farPlane + nearPlane) / (farPlane - nearPlane);
    at(m, 2, 3) = -2 * farPlane * nearPlane / (farPlane - nearPlane);
    at(m, 3, 2) = -1;
    return m;
}

Matrix4 orthoMatrix(float left, float right, float bottom, float top, float nearPlane, float farPlane)
{
    Matrix4 m = identityMatrix();
    at(m, 0, 0) = 2 / (right - left);
    at(m, 1, 1) = 2 / (top - bottom);
    at(m, 2, 2) = -2 / (farPlane - nearPlane);
    at(m, 0, 3) = -(right + left) / (right - left);
    at(m, 1, 3) = -(top + bottom) / (top - bottom);
    at(m, 2, 3) = -(farPlane + nearPlane) / (farPlane - nearPlane);
    return m;
}

Matrix4 lookAtMatrix(Vec3 eye, Vec3 target, Vec3 up)
{
    Vec3 forward = eye - target;
    if (forward.x == 0 && forward.y == 0 && forward.z == 0) return identityMatrix();
    forward = normalised(forward);
    Vec3 side = cross(up, forward);
    // Looking along the up vector (straight down at a floor, say) leaves no side direction, and the
    // matrix would flatten the whole scene to nothing: any up across the view will do then.
    if (!(dot(side, side) > 1e-12f))
        side = cross(std::fabs(forward.z) < 0.9f ? Vec3{0, 0, -1} : Vec3{0, 1, 0}, forward);
    side = normalised(side);
    Vec3 trueUp = cross(forward, side);
    Matrix4 m = identityMatrix();
    const Vec3 rows[3] = {side, trueUp, forward};
    for (int row = 0; row < 3; ++row) {
        at(m, row, 0) = rows[row].x;
        at(m, row, 1) = rows[row].y;
        at(m, row, 2) = rows[row].z;
        at(m, row, 3) = -dot(rows[row], eye);
    }
    return m;
}

float polynomialTangent(float x)
{
    float m = x * x;
    return x * (1 + m * (0.3333314f +
                         m * (0.1333924f + m * (0.05337406f +
                                                m * (0.02456509f + m * (0.002900525f + m * 0.009516809f))))));
}

SceneProjection sceneProjection(float nearPlane, float farPlane, float viewAngle, int viewportWidth,
                                int viewportHeight)
{
    SceneProjection projection;
    float widened = viewAngle + 5;
    projection.cullingTangent =
        widened > 89 ? std::tan(cappedCullingAngle) : float(std::tan(widened / degreesPerRadian));
    float aspect = viewportHeight != 0 ? float(viewportWidth) / float(viewportHeight) : 1.0f;
    float halfAngle = std::fabs(viewAngle) * 3.1415927f / 360;
    float tangent = polynomialTangent(halfAngle);
    if (viewAngle > 0) {
        float h = nearPlane * tangent;
        projection.halfHeight = h;
        projection.matrix = frustumMatrix(-aspect * h, aspect * h, -h, h, nearPlane, farPlane);
    } else {
        float h = nearPlane * tangent * 100;
        projection.halfHeight = h;
        projection.matrix = orthoMatrix(-aspect * h, aspect * h, -h, h, nearPlane, farPlane);
        projection.cullingTangent = std::tan(1.5533430576324463f);
    }
    return projection;
}

bool projectToScreen(const Matrix4& modelview, const Matrix4& projection, const Viewport& viewport,
                     int screenHeight, Vec3 point, double out[3])
{
    Matrix4 both = multiply(projection, modelview);
    double clip[4];
    for (int row = 0; row < 4; ++row)
        clip[row] = double(both[row]) * point.x + double(both[4 + row]) * point.y +
                    double(both[8 + row]) * point.z + both[12 + row];
    if (clip[3] == 0) return false;
    double nx = clip[0] / clip[3], ny = clip[1] / clip[3], nz = clip[2] / clip[3];
    out[0] = viewport.x + (nx + 1) * viewport.width / 2;
    out[1] = screenHeight - (viewport.y + viewport.height * (ny + 1) / 2);
    out[2] = (nz + 1) / 2;
    return true;
}

bool unprojectFromScreen(const Matrix4& modelview, const Matrix4& projection, const Viewport& viewport,
                         int screenHeight, double screenX, double screenY, double depth, double out[3])
{
    Matrix4 inverse;
    if (viewport.width == 0 || viewport.height == 0) return false;
    if (!invert(multiply(projection, modelview), inverse)) return false;
    // A screen row counted from the top is the window row counted from the bottom: row y is row
    // height - 1 - y. (A projected point's y is a distance from the top, one more than that row.)
    double windowY = screenHeight - 1 - screenY;
    double ndc[4] = {(screenX - viewport.x) * 2 / viewport.width - 1,
                     (windowY - viewport.y) * 2 / viewport.height - 1, depth * 2 - 1, 1};
    double world[4];
    for (int row = 0; row < 4; ++row)
        world[row] = inverse[row] * ndc[0] + inverse[4 + row] * ndc[1] + inverse[8 + row] * ndc[2] +
                     inverse[12 + row] * ndc[3];
    if (world[3] == 0) return false;
    for (int i = 0; i < 3; ++i)
        out[i] = world[i] / world[3];
    return true;
}

} // namespace rt
