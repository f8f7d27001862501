#include "engine/Keyboard.hpp"
#include "engine/Timer.hpp"
#include "game/physics/Boat.hpp"
#include "game/physics/InstanceBodies.hpp"
#include "game/physics/PhysicsResources.hpp"
#include "game/physics/PhysicsWorld.hpp"
#include "game/physics/RaceCourse.hpp"

#include <fmt/format.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

// The cost of one simulated second of the race's physics: the planet, about 150
// static bodies of the track's kinds on and around it, the checkpoints and the
// boat driving at full throttle, at 60 frames per second.
namespace
{
constexpr int sceneryCount = 149;
constexpr float frameTime = 1.0f / 60.0f;
constexpr int measuredSeconds = 10;

void placeScenery(PhysicsResources& resources, PhysicsWorld& world)
{
    std::mt19937 random(20240611);
    std::normal_distribution<float> normal;
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);

    std::vector<glm::vec3> rock;
    for (int i = 0; i < 40; ++i)
    {
        rock.push_back(glm::normalize(glm::vec3(normal(random), normal(random), normal(random))) *
                       (2.0f + unit(random)));
    }

    for (int i = 0; i < sceneryCount; ++i)
    {
        const glm::vec3 up = glm::normalize(glm::vec3(normal(random), normal(random), normal(random)));
        const glm::quat rotation(glm::vec3(0.0f, 1.0f, 0.0f), up);
        BodyDescription description;
        description.kind = static_cast<BodyKind>(i % 4);
        description.halfExtents = glm::vec3(0.5f + 2.0f * unit(random), 1.0f + 2.0f * unit(random),
                                            0.5f + 2.0f * unit(random));
        description.radius = 1.0 + 2.0 * unit(random);
        createInstanceBody(resources, world, description, up * (100.0f + 2.0f * unit(random)), rotation, rock);
    }
}
}

int main()
{
    PhysicsResources resources;
    PhysicsWorld world;
    world.setRadialGravity(glm::vec3(0.0f), raceGravityMagnitude);
    PhysicsBody* planet = resources.createRigidBody(resources.createSphereShape(100.0f), 0.0f, gameBodyMaterial);
    world.addRigidBody(planet, glm::vec3(0.0f), glm::quat(1.0f, 0.0f, 0.0f, 0.0f));
    placeScenery(resources, world);
    createRaceCheckpoints(resources, world);
    Boat* boat = createRaceBoat(resources, world);

    const auto frame = [&] {
        Timer::tickBy(frameTime);
        boat->handleKeyboardInput();
        boat->update(world.step());
    };
    // The boat lands first; then it drives around the planet.
    for (int i = 0; i < 120; ++i)
    {
        frame();
    }
    Keyboard::setKeyHeldForTesting(boat->settings().keyForward, true);

    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < measuredSeconds * 60; ++i)
    {
        frame();
    }
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;

    std::printf("%s", fmt::format("Race world ({} bodies): {:.2f} ms per simulated second\n", world.bodies().size(),
                                  elapsed.count() / measuredSeconds)
                          .c_str());
    world.removeAllObjects();
    return 0;
}
