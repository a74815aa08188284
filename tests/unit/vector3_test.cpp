#include <gtest/gtest.h>

#include <cmath>

#include "geometry/vector3.h"

using namespace smokedrift;

TEST(Vector3, NormalizeScalesToUnitLengthAndLeavesZeroAlone) {
    Vector3 v(3, 0, 4);
    v.normalize();
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_FLOAT_EQ(v.y, 0.0f);
    EXPECT_FLOAT_EQ(v.z, 0.8f);
    EXPECT_NEAR(v.length(), 1.0f, 1e-6f);
    Vector3 zero(0, 0, 0);
    zero.normalize();
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_EQ(zero.y, 0.0f);
    EXPECT_EQ(zero.z, 0.0f);
    EXPECT_FALSE(std::isnan(zero.x));
}

TEST(Vector3, ProductsAndCompoundOperators) {
    const Vector3 a(1, 2, 3), b(4, 5, 6);
    EXPECT_FLOAT_EQ(a.dot(b), 32.0f);
    const Vector3 c = a.cross(b);
    EXPECT_FLOAT_EQ(c.x, -3.0f);
    EXPECT_FLOAT_EQ(c.y, 6.0f);
    EXPECT_FLOAT_EQ(c.z, -3.0f);
    const Vector3 ex(1, 0, 0), ey(0, 1, 0);
    EXPECT_FLOAT_EQ(ex.cross(ey).z, 1.0f) << "x cross y is +z";
    Vector3 v = add(a, b);
    v -= Vector3(1, 1, 1);
    v *= 2;
    EXPECT_FLOAT_EQ(v.x, 8.0f);
    EXPECT_FLOAT_EQ(v.y, 12.0f);
    EXPECT_FLOAT_EQ(v.z, 16.0f);
    const Vector3 d = subtract(b, a);
    EXPECT_FLOAT_EQ(d.x, 3.0f);
    EXPECT_FLOAT_EQ(scaled(d, 0.5f).z, 1.5f);
}

TEST(Vector3, DivisionKeepsTheSignOfTheDivisor) {
    Vector3 v(2, -4, 6);
    v /= -2;
    EXPECT_FLOAT_EQ(v.x, -1.0f) << "a negative divisor divides, it is not replaced";
    EXPECT_FLOAT_EQ(v.y, 2.0f);
    EXPECT_FLOAT_EQ(v.z, -3.0f);
    // Only divisors of tiny magnitude are replaced, by the minimum with their own sign.
    const Vector3 up = divided(Vector3(1, 1, 1), 0);
    EXPECT_FLOAT_EQ(up.x, 10000.0f);
    const Vector3 down = divided(Vector3(1, 1, 1), -0.00001f);
    EXPECT_FLOAT_EQ(down.x, -10000.0f);
    EXPECT_FALSE(std::isinf(divided(Vector3(1, 0, 0), 0.0f).x));
    EXPECT_FLOAT_EQ(divided(Vector3(1, 0, 0), 0.5f).x, 2.0f);
}

TEST(DirectionAngles, ForwardSidewaysAndUp) {
    const Vector3 origin(0, 0, 0);
    float pitch = 99, yaw = 99;
    directionAngles(origin, Vector3(0, 0, -5), pitch, yaw);
    EXPECT_NEAR(pitch, 0.0f, 1e-4f);
    EXPECT_NEAR(yaw, 0.0f, 1e-4f);
    directionAngles(origin, Vector3(1, 0, 0), pitch, yaw);
    EXPECT_NEAR(pitch, 0.0f, 1e-4f);
    EXPECT_NEAR(yaw, -90.0f, 1e-3f);
    directionAngles(origin, Vector3(0, 0, 5), pitch, yaw);
    EXPECT_NEAR(std::fabs(yaw), 180.0f, 1e-3f);
    directionAngles(origin, Vector3(0, -2, 0), pitch, yaw);
    EXPECT_NEAR(pitch, -90.0f, 1e-3f);
}

TEST(DirectionAngles, NegativeZeroGivesYawMinus180UpwardsAndForCoincidentPoints) {
    float pitch = 0, yaw = 0;
    directionAngles(Vector3(0, 0, 0), Vector3(0, 3, 0), pitch, yaw);
    EXPECT_NEAR(pitch, 90.0f, 1e-3f);
    EXPECT_NEAR(yaw, -180.0f, 1e-3f);
    directionAngles(Vector3(2, 2, 2), Vector3(2, 2, 2), pitch, yaw);
    EXPECT_FALSE(std::isnan(pitch));
    EXPECT_NEAR(pitch, 0.0f, 1e-6f);
    EXPECT_NEAR(yaw, -180.0f, 1e-3f);
    EXPECT_FLOAT_EQ(planarAngle(0, 0), 0.0f);
}
