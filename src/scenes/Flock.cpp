#include "scenes/Flock.h"

#include "core/GL.h"
#include "core/Random.h"
#include "geometry/Mesh.h"
#include "math/Angles.h"

#include <algorithm>
#include <cmath>

namespace {

// Kept within lo..hi; unlike std::clamp also defined when a script's lo exceeds hi.
float limit(float value, float lo, float hi) { return std::min(std::max(value, lo), hi); }

float sign(float v) { return v > 0.0f ? 1.0f : v < 0.0f ? -1.0f : 0.0f; }

// The angle whose tangent is rise / run (radians), also when run is 0: straight up or down,
// or level when there is no rise either.
float slope(float rise, float run)
{
    if (run == 0.0f)
        return rise > 0.0f ? 1.5707964f : rise < 0.0f ? -1.5707964f : 0.0f;
    return std::atan2(rise / run, 1.0f);
}

} // namespace

Flock::Flock(const FlockParams& params) : params_(params) {}

void Flock::setBounds(const Vector3& min, const Vector3& max)
{
    min_ = min;
    max_ = max;
}

FlockGroup& Flock::addGroup(Mesh* mesh)
{
    FlockGroup& group = groups_.emplace_back();
    group.index = int(groups_.size()) - 1;
    group.mesh = mesh;
    return group;
}

Boid& Flock::addBoid(FlockGroup& group)
{
    Boid boid;
    boid.id = nextId_++;
    boid.perception = params_.perception;
    for (int axis = 0; axis < 3; ++axis) {
        const float r = show::randomUnit();
        boid.position.data()[axis] = min_.data()[axis] + r * (max_.data()[axis] - min_.data()[axis]);
    }
    // Each component from -0.5 to 0, so every creature starts heading towards the low corner.
    for (int axis = 0; axis < 3; ++axis)
        boid.velocity.data()[axis] = show::randomUnit() * 0.5f - 0.5f;
    boid.velocity.normalize();
    boid.pitch = boid.velocity.x;
    boid.yaw = boid.velocity.y;
    boid.roll = boid.velocity.z;
    boid.speed = boid.velocity.length();
    return group.boids.emplace_back(boid);
}

void Flock::update()
{
    for (FlockGroup& group : groups_)
        for (Boid& boid : group.boids)
            boid.step(*this, group.index);
}

void Flock::draw()
{
    for (FlockGroup& group : groups_) {
        if (!group.mesh)
            continue;
        group.mesh->begin();
        for (const Boid& boid : group.boids) {
            glPushMatrix();
            glTranslatef(boid.position.x, boid.position.y, boid.position.z);
            glRotatef(boid.pitch, 1.0f, 0.0f, 0.0f);
            glRotatef(boid.yaw, 0.0f, 1.0f, 0.0f);
            glRotatef(boid.roll, 0.0f, 0.0f, 1.0f);
            group.mesh->draw(true);
            glPopMatrix();
        }
        group.mesh->end();
    }
}

void Boid::step(Flock& flock, int group)
{
    const FlockParams& p = flock.params_;
    previousPosition = position;
    position += velocity;

    // Flockmates in sight and the nearest of them.
    auto& visible = flock.visible_;
    visible.clear();
    nearestMate = nullptr;
    nearestMateDistance = kNone;
    for (const Boid& mate : flock.groups_[std::size_t(group)].boids) {
        if (&mate == this)
            continue;
        const float d = distance(position, mate.position);
        if (d < perception) {
            visible.push_back(&mate);
            if (d < nearestMateDistance) {
                nearestMate = &mate;
                nearestMateDistance = d;
            }
        }
    }
    visibleCount = int(visible.size());

    Vector3 steer;
    if (!visible.empty()) {
        // Distance: away from the nearest mate when too close, towards it when too far.
        const float ratio = limit(nearestMateDistance / p.separationDistance, p.minUrgency, p.maxChange);
        const Vector3 away = (position - nearestMate->position).normalized();
        if (nearestMateDistance < p.separationDistance)
            steer += away * -ratio;
        else if (nearestMateDistance > p.separationDistance)
            steer += away * ratio;
        // Heading: the nearest mate's direction.
        steer += nearestMate->velocity.normalized() * p.minUrgency;
        // Centre: towards the middle of the mates in sight.
        Vector3 centre;
        for (const Boid* mate : visible)
            centre += mate->position;
        centre *= 1.0f / float(visible.size());
        steer += (centre - position).normalized() * p.minUrgency;
    }

    // Enemies: the creatures of the other groups in sight.
    nearestEnemy = nullptr;
    nearestEnemyDistance = kNone;
    enemyCount = 0;
    for (const FlockGroup& other : flock.groups_) {
        if (other.index == group)
            continue;
        for (const Boid& enemy : other.boids) {
            const float d = distance(position, enemy.position);
            if (d < perception) {
                ++enemyCount;
                if (d < nearestEnemyDistance) {
                    nearestEnemy = &enemy;
                    nearestEnemyDistance = d;
                }
            }
        }
    }
    if (nearestEnemy && nearestEnemyDistance > p.fleeDistance)
        steer += position - nearestEnemy->position;

    // Cruising: speed up or slow down towards the desired speed, nudged along a random axis
    // (x and z nine times in ten, y the rest).
    const float off = (speed - p.desiredSpeed) / p.maxSpeed;
    const float urgency = limit(std::fabs(off), p.minUrgency, p.maxUrgency);
    Vector3 cruise = velocity;
    const float r = show::randomUnit();
    float& axis = r < 0.45f ? cruise.x : r < 0.9f ? cruise.z : cruise.y;
    axis += p.minUrgency * sign(off);
    steer += cruise.normalized() * (urgency * (off > 0.0f ? -1.0f : 1.0f));

    if (steer.length() > p.maxChange)
        steer = steer.normalized() * p.maxChange;

    // The vertical speed is damped every step, which keeps the flock flat.
    previousVelocity = velocity;
    velocity += steer;
    velocity.y *= 0.3f;
    speed = velocity.length();
    if (speed > p.maxSpeed) {
        velocity *= p.maxSpeed / speed;
        speed = p.maxSpeed;
    }

    // Bank into the turn: the change of velocity across the flight direction against gravity.
    const Vector3 change = velocity - previousVelocity;
    const Vector3 lateral = cross(cross(velocity, change), velocity).normalized();
    const float sideways = dot(change, lateral);
    roll = sideways == 0.0f ? 0.0f : (0.63661975f - std::atan2(p.gravity, sideways)) * radToDeg;
    pitch = -slope(velocity.y, std::sqrt(velocity.z * velocity.z + velocity.x * velocity.x)) * radToDeg;
    yaw = std::atan2(velocity.x, velocity.z) * radToDeg;

    // Walls: back onto the boundary, that velocity component reversed.
    for (int a = 0; a < 3; ++a) {
        float& pos = position.data()[a];
        float& vel = velocity.data()[a];
        if (pos < flock.min_.data()[a]) {
            pos = flock.min_.data()[a];
            vel = -vel;
        } else if (pos > flock.max_.data()[a]) {
            pos = flock.max_.data()[a];
            vel = -vel;
        }
    }
}
