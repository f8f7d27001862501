#pragma once

#include "graphics/VertexLayouts.hpp"

#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include <cstdint>
#include <random>
#include <span>

struct ParticleEmitter
{
    float startSize = 0.0f;
    float startAlpha = 0.0f;
    // Size and alpha reach their start values times this at the end of a life.
    float endFactor = 0.0f;
    // Half-width of the random velocity added on each axis.
    float spread = 0.0f;
    float speedOffset = 0.0f;
    // Acceleration toward the world origin.
    float pull = 0.0f;
    // Longest life of a particle, seconds; an emitter without a positive one launches nothing.
    float lifetime = 0.0f;
    // Velocity damping per second.
    float drag = 0.0f;
    bool active = false;
    glm::vec3 position{0.0f};
    glm::vec3 direction{0.0f};
    // Along `direction`, less `speedOffset`.
    float speed = 0.0f;
};

// Also the instance record of the particle shader, read as four vec4 columns.
struct Particle
{
    // w accumulates life x time.
    glm::vec4 position{0.0f};
    // Size, then alpha.
    glm::vec4 size{0.0f};
    glm::vec3 velocity{0.0f};
    // Seconds left.
    float life = 0.0f;
    glm::vec4 params{1.0f, 1.0f, 0.0f, 0.0f};
};

static_assert(sizeof(Particle) == sizeof(ModelInstance));

// Seeded the same way in every run, so every run launches the same particles.
using ParticleRandom = std::minstd_rand;

// Uniform in [0, 1].
float unitRandom(ParticleRandom& random);

// Advances one emitter's pool by dt seconds. An active emitter simulates the
// whole pool and relaunches every expired particle from its position; an
// inactive one simulates only the first `liveCount` particles and moves the
// expired ones out of that range. Returns the number of live particles, which
// lead the pool.
std::uint32_t simulateParticles(const ParticleEmitter& emitter, std::span<Particle> pool, std::uint32_t liveCount,
                                float dt, ParticleRandom& random);
