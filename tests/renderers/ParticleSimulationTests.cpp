#include "engine/Timer.hpp"
#include "renderers/ParticleSimulation.hpp"
#include "tests/support/ClockTest.hpp"

#include <glm/geometric.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
class ParticleSimulationTest : public ClockTest
{
protected:
    std::uint32_t frame(double seconds)
    {
        Timer::tickBy(seconds);
        return liveCount = simulateParticles(emitter, pool, liveCount, Timer::getDeltaTime(), random);
    }

    ParticleEmitter emitter{2.0f, 0.8f, 0.0f, 0.0f, 1.0f, 0.0f, 2.0f, 0.0f, true, glm::vec3(3.0f, 4.0f, 5.0f),
                            glm::vec3(1.0f, 0.0f, 0.0f), 5.0f};
    std::vector<Particle> pool = std::vector<Particle>(20);
    std::uint32_t liveCount = 0;
    ParticleRandom random;
};

TEST_F(ParticleSimulationTest, LaunchedParticlesFlyStraightWithinTheSpreadShrinkWithTheirLifeAndRepeatInEveryRun)
{
    emitter.spread = 0.5f;
    ASSERT_EQ(frame(0.1), 20u);
    for (const Particle& particle : pool)
    {
        // Sized before the step: a particle launched with half the lifetime starts at half size.
        const float life = particle.life + 0.1f;
        EXPECT_TRUE(life >= 0.0f && life <= emitter.lifetime);
        EXPECT_NEAR(particle.size.x, emitter.startSize * life / emitter.lifetime, 1e-5f);
        const glm::vec3 jitter = glm::abs(particle.velocity - glm::vec3(4.0f, 0.0f, 0.0f));
        EXPECT_LE(glm::max(jitter.x, glm::max(jitter.y, jitter.z)), 0.5f);
        const glm::vec3 expected = glm::vec3(3.0f, 4.0f, 5.0f) + 0.1f * particle.velocity;
        EXPECT_NEAR(glm::distance(glm::vec3(particle.position), expected), 0.0f, 1e-5f);
    }
    EXPECT_NE(pool[0].velocity, pool[1].velocity);
    const std::vector<Particle> first = pool;
    random = ParticleRandom();
    pool.assign(20, Particle{});
    frame(0.1);
    EXPECT_EQ(pool[7].velocity, first[7].velocity);
}

TEST_F(ParticleSimulationTest, UnevenFramesKeepTheWholePoolLiveAndAStoppedEmitterEmptiesWithinOneLifetime)
{
    // Longer than a lifetime in all, so particles expire and relaunch on the way.
    const std::vector<double> frameTimes{0.016, 0.2, 0.001, 0.7, 0.033, 1.5, 0.004};
    for (double seconds : frameTimes)
    {
        ASSERT_EQ(frame(seconds), 20u);
    }
    emitter.active = false;
    for (double sinceStop = 0.0; sinceStop < emitter.lifetime; sinceStop += Timer::getDeltaTime())
    {
        const std::uint32_t previous = liveCount;
        EXPECT_LE(frame(frameTimes[liveCount % frameTimes.size()] / 4.0), previous);
        for (std::size_t slot = liveCount; slot < pool.size(); ++slot)
        {
            EXPECT_LE(pool[slot].life, 0.0f);
        }
    }
    EXPECT_EQ(frame(0.001), 0u);
    emitter.active = true;
    EXPECT_EQ(frame(0.01), 20u);
}

TEST_F(ParticleSimulationTest, NoLifetimeLaunchesNothingAndNeitherTheOriginNorALongFrameUpsetsAParticle)
{
    for (float lifetime : {0.0f, -1.0f, NAN, INFINITY})
    {
        emitter.lifetime = lifetime;
        EXPECT_EQ(frame(0.1), 0u) << lifetime;
    }

    // At rest on the origin and pulled toward it, in a frame of no time: no direction, no pull.
    emitter = ParticleEmitter{1.0f, 1.0f, 0.5f, 0.0f, 0.0f, 5.0f, 1.0f, 0.0f, true};
    EXPECT_EQ(frame(0.0), 20u);
    EXPECT_EQ(pool[0].velocity, glm::vec3(0.0f));
    EXPECT_EQ(pool[0].position, glm::vec4(0.0f));

    // A frame longer than the drag allows stops a particle instead of reversing it.
    emitter = ParticleEmitter{1.0f, 1.0f, 0.5f, 0.0f, 0.0f, 1.0f, 100.0f, 3.0f, true, glm::vec3(10.0f, 0.0f, 0.0f),
                              glm::vec3(1.0f, 0.0f, 0.0f), 2.0f};
    pool.assign(1, Particle{});
    frame(0.01);
    EXPECT_TRUE(pool[0].velocity.x > 1.9f && pool[0].velocity.x < 2.0f);
    frame(1.0);
    EXPECT_EQ(pool[0].velocity, glm::vec3(0.0f));
}
}
