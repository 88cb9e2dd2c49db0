// Plain vector and matrix values shared by script values, script classes and elements.
#pragma once

namespace Ferrox3D {

struct CVector2D {
    float x = 0.0f, y = 0.0f;
    CVector2D() = default;
    CVector2D(float fx, float fy) : x(fx), y(fy) {}
    bool operator==(const CVector2D& o) const { return x == o.x && y == o.y; }
};

struct CVector3D {
    float x = 0.0f, y = 0.0f, z = 0.0f;
    CVector3D() = default;
    CVector3D(float fx, float fy, float fz) : x(fx), y(fy), z(fz) {}
    bool operator==(const CVector3D& o) const { return x == o.x && y == o.y && z == o.z; }
};

// Sixteen components row by row (m[0][0] is m11, m[3][3] is m44); vectors are rows multiplied
// on the left, translation sits in row 4.
struct CMatrix4x4 {
    float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    float* Data() { return &m[0][0]; }
    const float* Data() const { return &m[0][0]; }
    bool operator==(const CMatrix4x4& o) const {
        for (int i = 0; i < 16; ++i)
            if (Data()[i] != o.Data()[i])
                return false;
        return true;
    }
};

}  // namespace Ferrox3D
