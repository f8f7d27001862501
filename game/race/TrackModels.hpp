#pragma once

#include "game/assets/MaterialLayers.hpp"
#include "game/physics/InstanceBodies.hpp"

#include <glm/vec3.hpp>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

// The size table of the water planet's models: the asset generator builds each
// mesh from these numbers and the race layout takes each body from the same
// row, so what is drawn and what collides agree.
//
// How the layout uses it:
// - The model's file under "Assets/" is trackModelFile; maxInstances goes
//   into the model's first placement and the material's layer into its
//   material record, which a model without one keeps as a new model has it.
// - Every model is built in its own frame: Y up, centred on the Y axis, y = 0
//   at its base, facing +Z where it has a front. A placement's rotation turns
//   +Y to "up" (away from the planet's centre) and its position puts y = 0 there.
// - Palms and crates have nothing below y = 0: stand them on an island's top
//   (a little into it, since the top is rounded) or on the water.
// - Everything else stands in the water with y = 0 at its waterline and
//   reaches `depth` below it (stilts, posts, footings, the ramp's lip, hulls,
//   rock and ice), so nothing floats on its base: place y = 0 at about
//   waterRadius (the lighthouse's rock and the ice hold several metres of
//   slack either way). "PlanetFloor.obj" alone is a sphere about the planet's
//   centre, placed at the origin.
// - bodies holds the body of an instance in the model's frame, ready for
//   createInstanceBody: one shape for a box, sphere or cylinder, one ConvexHull
//   entry for a hull (the shape comes from the model's own vertices), the
//   children for a compound (createCompoundInstanceBody), none for no body.
//   Masses are 0 (static); a layout that wants a body to move sets its mass.
//   A cylinder's halfExtents are (radius, half height, radius), as Bullet reads them.

// Where the boats float, measured from the planet's centre; the planet's
// collision sphere has radius 100.
inline constexpr float waterRadius = 100.3f;
// The drawn sea bed, "PlanetFloor.obj", a sphere about the planet's centre.
inline constexpr float seaBedRadius = 97.0f;

enum class TrackBodyKind : std::int32_t
{
    None,
    Sphere,
    Box,
    Cylinder,
    ConvexHull,
    Compound,
};

struct TrackModel
{
    const char* file;
    std::optional<TrackMaterial> material;
    TrackBodyKind bodyKind;
    std::int32_t maxInstances;
    // The drawn mesh lies within |x| <= halfWidth, |z| <= halfLength and
    // -depth <= y <= height.
    float halfWidth;
    float halfLength;
    float height;
    float depth;
    std::span<const BodyDescription> bodies;
};

// The rows, in the order the layout first places them.
enum class TrackModelId : std::size_t
{
    PlanetFloor,
    Ice1,
    Ice2,
    Ice3,
    PirateShip,
    Island1,
    Island2,
    LightHouse,
    Volcano,
    Dragon,
    House1,
    House2,
    Ramp,
    Palm,
    Barrier,
    Sign,
    BigSign,
    Crate,
};

inline constexpr std::size_t trackModelCount = 18;

extern const std::array<TrackModel, trackModelCount> trackModels;

const TrackModel& trackModel(TrackModelId id);
// The row's model, under "Assets/": trackModelFolder and the row's file.
std::string trackModelFile(const TrackModel& row);

// The lighthouse's lamp, up its axis from the base (point light 24 sits there).
inline constexpr float lighthouseLampHeight = 25.0f;

// The ramp's driving surface: a slope across the whole width, rising along +Z
// from its lip under the water (z = -halfLength, y = -depth) to its crest
// (z = +halfLength, y = height). Its box body lies under that slope.
inline constexpr float rampHalfWidth = 4.0f;
inline constexpr float rampHalfLength = 6.5f;
inline constexpr float rampCrestHeight = 2.5f;
inline constexpr float rampLipDepth = 0.8f;

// The boat's chassis box (half extents, its centre at (0, half height, 0)):
// "BoatTest.obj" fits inside it with its hull's bottom at the origin.
inline constexpr glm::vec3 boatHullHalfExtents{0.8f, 0.5129625f, 1.5562299f};
