#pragma once

#include <memory>
#include <type_traits>

struct ParticleSystem;

// Frees a particle system: its lists and the system itself. Its GPU objects go
// first, through ParticleSystem::destroy.
void freeParticleSystem(ParticleSystem* system);
// The owner's deleter, through a function defined where the type is complete:
// the owner's header can hold the pointer with only a declaration of the type.
inline constexpr auto deleteParticleSystem = [](ParticleSystem* system) { freeParticleSystem(system); };
using ParticleSystemPointer = std::unique_ptr<ParticleSystem, std::remove_const_t<decltype(deleteParticleSystem)>>;
