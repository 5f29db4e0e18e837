#include "core/Random.h"
#include "scenes/Flock.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const Vector3 kMin{-256, -100, -256};
const Vector3 kMax{256, 100, 256};

void expectVector(const Vector3& v, float x, float y, float z, float tolerance = 1e-6f)
{
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}

// A creature of `group` put at `position` with `velocity`; its stored speed is the desired
// speed, so cruising only pushes it along its own heading by minUrgency, whatever the draw.
Boid& place(Flock& flock, FlockGroup& group, const Vector3& position, const Vector3& velocity)
{
    Boid& boid = flock.addBoid(group);
    boid.position = position;
    boid.velocity = velocity;
    boid.speed = flock.params().desiredSpeed;
    return boid;
}

class FlockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        show::resetRandom();
        flock.setBounds(kMin, kMax);
    }
    void TearDown() override { show::resetRandom(); }

    Boid& place(FlockGroup& group, const Vector3& position, const Vector3& velocity)
    {
        return ::place(flock, group, position, velocity);
    }

    Flock flock;
};

TEST_F(FlockTest, FirstCreaturesFromTheSharedGeneratorsFirstDraws)
{
    FlockGroup& first = flock.addGroup(nullptr);
    FlockGroup& second = flock.addGroup(nullptr);
    const Boid& a = flock.addBoid(first);
    const Boid& b = flock.addBoid(second);
    auto unit = [](int v) { return float(v) * (1.0f / 32767.0f); };

    EXPECT_EQ(a.id, 0);
    EXPECT_EQ(b.id, 1);
    EXPECT_EQ(second.index, 1);
    expectVector(a.position, -256 + unit(41) * 512, -100 + unit(18467) * 200, -256 + unit(6334) * 512, 1e-4f);
    const Vector3 heading = Vector3{unit(26500) * 0.5f - 0.5f, unit(19169) * 0.5f - 0.5f,
                                    unit(15724) * 0.5f - 0.5f}.normalized();
    expectVector(a.velocity, heading.x, heading.y, heading.z);
    EXPECT_FLOAT_EQ(a.pitch, heading.x);
    EXPECT_FLOAT_EQ(a.yaw, heading.y);
    EXPECT_FLOAT_EQ(a.roll, heading.z);
    EXPECT_NEAR(a.speed, 1.0f, 1e-6f);
    EXPECT_EQ(a.nearestMateDistance, Boid::kNone);
    EXPECT_EQ(a.nearestEnemyDistance, Boid::kNone);
    // The second creature goes on with the seventh draw.
    EXPECT_NEAR(b.position.x, -256 + unit(11478) * 512, 1e-4f);
    EXPECT_EQ(b.perception, 30.0f);
}

// Alone in its group's range, a creature is steered by the nearest enemy (only when that one is
// farther than the flee distance) and by cruising, and each step draws exactly one random value.
TEST_F(FlockTest, LoneCreatureSteeredOnlyByFleeAndCruising)
{
    FlockGroup& mine = flock.addGroup(nullptr);
    FlockGroup& theirs = flock.addGroup(nullptr);
    Boid& lone = place(mine, {0, 0, 0}, {0.5f, 0, 0});
    place(mine, {0, 0, 45}, {0, 0, 0});  // a flockmate out of sight
    Boid& enemy = place(theirs, {20, 0, 0}, {0, 0, 0});

    flock.update();
    EXPECT_EQ(lone.visibleCount, 0);
    EXPECT_EQ(lone.nearestMate, nullptr);
    EXPECT_EQ(lone.nearestEnemy, &enemy);
    EXPECT_EQ(lone.enemyCount, 1);
    EXPECT_FLOAT_EQ(lone.nearestEnemyDistance, 19.5f);
    // Flee (-19.5, 0, 0) plus cruising (0.05, 0, 0), cut to the change limit 0.1.
    expectVector(lone.velocity, 0.4f, 0, 0);
    EXPECT_FLOAT_EQ(lone.speed, 0.4f);
    EXPECT_FLOAT_EQ(lone.yaw, 90.0f);

    // An enemy within the flee distance is ignored: cruising alone.
    Flock close;
    close.setBounds(kMin, kMax);
    FlockGroup& a = close.addGroup(nullptr);
    FlockGroup& b = close.addGroup(nullptr);
    Boid& calm = ::place(close, a, {0, 0, 0}, {0.5f, 0, 0});
    Boid& near = ::place(close, b, {5, 0, 0}, {0, 0, 0});
    close.update();
    EXPECT_EQ(calm.nearestEnemy, &near);
    expectVector(calm.velocity, 0.55f, 0, 0);
}

TEST_F(FlockTest, EachStepDrawsOneRandomValuePerCreature)
{
    FlockGroup& group = flock.addGroup(nullptr);
    for (int i = 0; i < 4; ++i)
        flock.addBoid(group);
    const auto before = show::randomState();
    flock.update();
    const auto after = show::randomState();
    show::setRandomState(before);
    for (int i = 0; i < 4; ++i)
        show::random();
    EXPECT_EQ(show::randomState(), after);
}

// The distance rule pulls towards a mate farther than the separation distance; heading and
// centre rules follow the nearest mate's direction and the mates' middle.
TEST_F(FlockTest, FlockmateRules)
{
    FlockGroup& group = flock.addGroup(nullptr);
    Boid& boid = place(group, {0, 0, 0}, {0.5f, 0, 0});
    Boid& mate = place(group, {4.5f, 0, 0}, {0, 0, 0.5f});
    flock.update();
    EXPECT_EQ(boid.nearestMate, &mate);
    EXPECT_EQ(boid.visibleCount, 1);
    EXPECT_FLOAT_EQ(boid.nearestMateDistance, 4.0f);
    // Distance (-0.1, 0, 0), heading (0, 0, 0.05), centre (0.05, 0, 0), cruising (0.05, 0, 0).
    expectVector(boid.velocity, 0.5f, 0, 0.05f);

    // Closer than the separation distance the rule's direction turns round; the sum
    // (0.2, 0, 0.05) is cut to the change limit.
    Flock tight;
    tight.setBounds(kMin, kMax);
    FlockGroup& g = tight.addGroup(nullptr);
    Boid& b = ::place(tight, g, {0, 0, 0}, {0.5f, 0, 0});
    ::place(tight, g, {1.5f, 0, 0}, {0, 0, 0.5f});
    tight.update();
    const Vector3 steer = Vector3{0.2f, 0, 0.05f}.normalized() * 0.1f;
    expectVector(b.velocity, 0.5f + steer.x, 0, steer.z);
}

TEST_F(FlockTest, VerticalSpeedScaledByThreeTenthsEachStep)
{
    FlockGroup& group = flock.addGroup(nullptr);
    Boid& boid = place(group, {0, 0, 0}, {0.3f, 0.4f, 0});
    flock.update();
    // Cruising adds (0.03, 0.04, 0); then y is scaled.
    expectVector(boid.velocity, 0.33f, 0.44f * 0.3f, 0);
    EXPECT_FLOAT_EQ(boid.speed, std::sqrt(0.33f * 0.33f + 0.132f * 0.132f));
    EXPECT_NEAR(boid.pitch, -std::atan(0.132f / 0.33f) * 57.29578f, 1e-4f);
    EXPECT_NEAR(boid.yaw, 90.0f, 1e-4f);
    // Banking: the change of velocity across the flight direction against gravity.
    const Vector3 change{0.03f, 0.132f - 0.4f, 0};
    const Vector3 along = boid.velocity.normalized();
    const Vector3 across = (change - along * dot(change, along)).normalized();
    EXPECT_NEAR(boid.roll, (0.63661975f - std::atan2(9.81f, dot(change, across))) * 57.29578f, 1e-3f);

    for (int i = 0; i < 20; ++i) {
        const float before = boid.velocity.y;
        flock.update();
        ASSERT_LE(std::fabs(boid.velocity.y), 0.3f * (std::fabs(before) + 0.1f) + 1e-6f);
    }
    EXPECT_LT(std::fabs(boid.velocity.y), 0.05f);
}

TEST_F(FlockTest, LeavingTheBoxBouncesOffItsWalls)
{
    FlockGroup& group = flock.addGroup(nullptr);
    Boid& boid = place(group, {255.5f, -99.9f, -255.9f}, Vector3{1, -1, -1}.normalized());
    boid.speed = 1.0f;
    flock.update();
    expectVector(boid.position, 256, -100, -256);
    EXPECT_LT(boid.velocity.x, 0.0f);
    EXPECT_GT(boid.velocity.y, 0.0f);
    EXPECT_GT(boid.velocity.z, 0.0f);
    flock.update();
    EXPECT_LT(boid.position.x, 256.0f);
    EXPECT_GT(boid.position.y, -100.0f);
    EXPECT_GT(boid.position.z, -256.0f);
}

// Straight up there is no horizontal speed to divide by, and no change across the flight
// direction to bank with.
TEST_F(FlockTest, ClimbingStraightUpPitchesAndDoesNotBank)
{
    FlockGroup& group = flock.addGroup(nullptr);
    Boid& boid = place(group, {0, 0, 0}, {0, 1, 0});
    flock.update();
    expectVector(boid.velocity, 0, 1.05f * 0.3f, 0);
    EXPECT_FLOAT_EQ(boid.pitch, -90.0f);
    EXPECT_EQ(boid.roll, 0.0f);
    EXPECT_TRUE(std::isfinite(boid.yaw));
}

} // namespace
