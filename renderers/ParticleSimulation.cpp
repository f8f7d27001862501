#include "renderers/ParticleSimulation.hpp"

#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>
#include <utility>

namespace
{
// An infinite or undefined lifetime would make every size undefined.
bool launches(const ParticleEmitter& emitter)
{
    return emitter.active && std::isfinite(emitter.lifetime) && emitter.lifetime > 0.0f;
}

void launch(Particle& particle, const ParticleEmitter& emitter, ParticleRandom& random)
{
    const float r1 = unitRandom(random);
    const float r2 = unitRandom(random);
    const float r3 = unitRandom(random);
    const float r4 = unitRandom(random);
    const glm::vec3 jitter = glm::vec3(2.0f * r3 - 1.0f, 2.0f * r2 - 1.0f, 2.0f * r1 - 1.0f) * emitter.spread;
    particle.position = glm::vec4(emitter.position, 0.0f);
    particle.velocity = jitter + (emitter.speed - emitter.speedOffset) * emitter.direction;
    particle.life = std::abs(2.0f * r4 - 1.0f) * emitter.lifetime;
}

void age(Particle& particle, const ParticleEmitter& emitter, float dt)
{
    const float used = 1.0f - particle.life / emitter.lifetime;
    const float scale = 1.0f - (1.0f - emitter.endFactor) * used;
    particle.size = glm::vec4(emitter.startSize * scale, emitter.startAlpha * scale, 0.0f, 0.0f);
    particle.position += glm::vec4(particle.velocity, particle.life) * dt;
    // A particle at the origin has no direction to be pulled in.
    const float distance = glm::length(particle.position);
    if (distance > 0.0f)
    {
        particle.velocity -= glm::vec3(particle.position / distance) * emitter.pull * dt;
    }
    // A long frame stops a particle instead of throwing it backwards.
    particle.velocity *= std::max(0.0f, 1.0f - dt * emitter.drag);
    particle.life -= dt;
}
}

float unitRandom(ParticleRandom& random)
{
    return static_cast<float>(static_cast<double>(random() - ParticleRandom::min()) /
                              static_cast<double>(ParticleRandom::max() - ParticleRandom::min()));
}

std::uint32_t simulateParticles(const ParticleEmitter& emitter, std::span<Particle> pool, std::uint32_t liveCount,
                                float dt, ParticleRandom& random)
{
    std::size_t count = emitter.active ? pool.size() : std::min<std::size_t>(liveCount, pool.size());
    const bool launching = launches(emitter);
    std::size_t index = 0;
    while (index < count)
    {
        Particle& particle = pool[index];
        if (!(particle.life > 0.0f))
        {
            if (!launching)
            {
                std::swap(particle, pool[count - 1]);
                --count;
                continue;
            }
            launch(particle, emitter, random);
        }
        age(particle, emitter, dt);
        ++index;
    }
    return static_cast<std::uint32_t>(count);
}
