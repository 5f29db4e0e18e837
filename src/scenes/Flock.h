// A flock of small creatures in groups: each creature keeps its distance from the nearest
// flockmate, matches its heading, moves towards the centre of the mates it sees, runs from the
// nearest creature of another group and cruises towards a desired speed; it banks into turns and
// bounces off the walls of a box. Steps are whole frames, independent of the frame time.
#pragma once
#include "math/Vector3.h"

#include <deque>
#include <vector>

class Mesh;
class Flock;

struct FlockParams {
    float maxSpeed = 1.0f;             // speed limit per step
    float desiredSpeed = 0.5f;         // cruising target speed
    float minUrgency = 0.05f;          // smallest steering magnitude
    float maxUrgency = 0.1f;           // largest cruising magnitude
    float maxChange = 0.1f;            // limit of the summed steering per step
    float fleeDistance = 6.0f;         // enemy distance the flee rule compares against
    float separationDistance = 2.0f;   // neighbour distance the distance rule holds
    float gravity = 9.81f;             // for the banking angle
    float perception = 30.0f;          // how far a creature sees others
};

struct Boid {
    // Nearest distances when nothing is in sight.
    static constexpr float kNone = 999999.0f;

    // One step of creature in group `group` of `flock`, reading the others as they are now.
    void step(Flock& flock, int group);

    int id = 0;
    float perception = 0.0f;
    Vector3 position;
    Vector3 velocity;
    float pitch = 0.0f, yaw = 0.0f, roll = 0.0f;  // degrees
    float speed = 0.0f;                           // the velocity's length
    const Boid* nearestMate = nullptr;
    float nearestMateDistance = kNone;
    const Boid* nearestEnemy = nullptr;
    float nearestEnemyDistance = kNone;
    int enemyCount = 0;
    Vector3 previousPosition;
    Vector3 previousVelocity;
    int visibleCount = 0;
};

struct FlockGroup {
    int index = 0;
    Mesh* mesh = nullptr;  // owned by the mesh manager
    // Creatures in insertion order; a deque keeps their addresses when more are added.
    std::deque<Boid> boids;
    int count() const { return int(boids.size()); }
};

class Flock {
public:
    explicit Flock(const FlockParams& params = {});

    // The box the creatures stay in.
    void setBounds(const Vector3& min, const Vector3& max);
    // A new group drawing `mesh` (may be null: nothing is drawn for it).
    FlockGroup& addGroup(Mesh* mesh);
    // A creature appended to `group`, placed and headed from the shared random generator: three
    // draws for the position inside the box (x, y, z), three for the heading.
    Boid& addBoid(FlockGroup& group);

    // Every creature of every group steps once, in order.
    void update();
    // Each group's mesh at each of its creatures, turned by pitch (x), yaw (y) and roll (z).
    void draw();

    const FlockParams& params() const { return params_; }
    const Vector3& boundsMin() const { return min_; }
    const Vector3& boundsMax() const { return max_; }
    std::deque<FlockGroup>& groups() { return groups_; }
    const std::deque<FlockGroup>& groups() const { return groups_; }
    // The flockmates the last stepped creature saw.
    const std::vector<const Boid*>& visible() const { return visible_; }

private:
    friend struct Boid;

    FlockParams params_;
    Vector3 min_, max_;
    std::deque<FlockGroup> groups_;
    int nextId_ = 0;
    // Rebuilt for each creature in turn; it grows with the largest group instead of holding a
    // fixed number of entries.
    std::vector<const Boid*> visible_;
};
