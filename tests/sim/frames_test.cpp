// The five reference frames and the centre of mass.
#include <gtest/gtest.h>

#include <cmath>

#include "sim/bodies.h"
#include "sim/frames.h"

namespace {

// Three bodies: the reference (index 0) and two others.
const double xs[3] = {3.0e5, -1.0e5, 2.0e4};
const double ys[3] = {4.0e5, 5.0e4, -3.0e4};
const double ms[3] = {1.0e18, 3.0e18, 2.0e18};
const double total = 6.0e18;

class Frames : public ::testing::Test {
protected:
    void SetUp() override { reset_scene_defaults(); }
    void TearDown() override { reset_scene_defaults(); }
    FrameTransform frame(int mode) {
        set_frame_mode(mode);
        return make_frame_transform(xs, ys, ms, 3, total);
    }
};

void position(const FrameTransform& f, int i, double* x, double* y) { ASSERT_TRUE(frame_position(f, xs[i], ys[i], x, y)); }

TEST_F(Frames, FixedSubtractsTheOrigin) {
    double x, y;
    FrameTransform f = frame(FRAME_FIXED);
    ASSERT_TRUE(frame_position(f, 632390.0, 0.0, &x, &y));
    EXPECT_EQ(static_cast<float>(x * VIEW_SCALE), 15.0f);
    set_frame_origin(1000.0, -2000.0);
    f = frame(FRAME_FIXED);
    position(f, 1, &x, &y);
    EXPECT_EQ(x, xs[1] - 1000.0);
    EXPECT_EQ(y, ys[1] + 2000.0);
}

TEST_F(Frames, CentreOfMassFrameHasZeroWeightedMean) {
    double cx, cy;
    centre_of_mass(xs, ys, ms, 3, total, &cx, &cy);
    EXPECT_DOUBLE_EQ(cx, (1.0 * 3.0e5 - 3.0 * 1.0e5 + 2.0 * 2.0e4) / 6.0);
    const FrameTransform f = frame(FRAME_CM);
    double mean_x = 0.0, mean_y = 0.0;
    for (int i = 0; i < 3; ++i) {
        double x, y;
        position(f, i, &x, &y);
        mean_x += ms[i] * x / total;
        mean_y += ms[i] * y / total;
    }
    EXPECT_NEAR(mean_x, 0.0, 1e-9);
    EXPECT_NEAR(mean_y, 0.0, 1e-9);
}

TEST_F(Frames, RotatingPutsTheReferenceOnThePositiveXAxis) {
    set_frame_body(0);
    const FrameTransform f = frame(FRAME_ROTATING);
    double x, y;
    position(f, 0, &x, &y);
    const double r = std::hypot(xs[0] - f.cx, ys[0] - f.cy);
    EXPECT_NEAR(x, r, 1e-9 * r);
    EXPECT_NEAR(y, 0.0, 1e-9 * r);
    // A rotation: distances from the centre of mass are kept.
    position(f, 1, &x, &y);
    EXPECT_NEAR(std::hypot(x, y), std::hypot(xs[1] - f.cx, ys[1] - f.cy), 1e-6);
}

TEST_F(Frames, OrbitPutsTheReferenceAtTheOriginAndTheCentreOnNegativeX) {
    set_frame_body(2);
    const FrameTransform f = frame(FRAME_ORBIT);
    double x, y;
    position(f, 2, &x, &y);
    EXPECT_NEAR(x, 0.0, 1e-9);
    EXPECT_NEAR(y, 0.0, 1e-9);
    ASSERT_TRUE(frame_position(f, f.cx, f.cy, &x, &y));
    EXPECT_LT(x, 0.0);
    EXPECT_NEAR(y, 0.0, 1e-9);
}

TEST_F(Frames, MovingPutsTheReferenceAtTheOriginWithoutTurning) {
    set_frame_body(1);
    const FrameTransform f = frame(FRAME_MOVING);
    double x, y;
    position(f, 1, &x, &y);
    EXPECT_EQ(x, 0.0);
    EXPECT_EQ(y, 0.0);
    position(f, 0, &x, &y);
    EXPECT_EQ(x, xs[0] - xs[1]);
    EXPECT_EQ(y, ys[0] - ys[1]);
}

TEST_F(Frames, ReferenceOutsideTheBodiesCountsAsTheFirst) {
    for (int body : {3, 1000, -1}) {
        set_frame_body(body);
        const FrameTransform f = frame(FRAME_MOVING);
        double x, y;
        position(f, 0, &x, &y);
        EXPECT_EQ(x, 0.0) << body;
        EXPECT_EQ(y, 0.0) << body;
    }
}

TEST_F(Frames, ReferenceAtTheCentreOfMassMeansNoRotation) {
    // Two equal bodies about a third at their centre of mass.
    const double x[3] = {0.0, 1.0e5, -1.0e5}, y[3] = {0.0, 2.0e4, -2.0e4}, m[3] = {1.0, 1.0, 1.0};
    set_frame_body(0);
    for (int mode : {FRAME_ROTATING, FRAME_ORBIT}) {
        set_frame_mode(mode);
        const FrameTransform f = make_frame_transform(x, y, m, 3, 3.0);
        double px, py;
        ASSERT_TRUE(frame_position(f, x[1], y[1], &px, &py));
        EXPECT_TRUE(std::isfinite(px) && std::isfinite(py));
        EXPECT_EQ(px, x[1]);
        EXPECT_EQ(py, y[1]);
    }
}

TEST_F(Frames, ModeOutsideTheFiveConvertsNothing) {
    double x = 7.0, y = 8.0;
    for (int mode : {0, FRAME_FIXED - 1, FRAME_ORBIT + 1}) {
        const FrameTransform f = frame(mode);
        EXPECT_EQ(f.converts, 0);
        EXPECT_EQ(frame_position(f, xs[0], ys[0], &x, &y), 0);
        EXPECT_EQ(x, 7.0);
        EXPECT_EQ(y, 8.0);
    }
    set_frame_mode(FRAME_CM);
    EXPECT_EQ(make_frame_transform(xs, ys, ms, 0, 0.0).converts, 0) << "no bodies: nothing to convert";
}

}  // namespace
