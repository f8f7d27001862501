#pragma once

#include "game/race/TrackModels.hpp"
#include "tools/assets/MeshBuilder.hpp"

#include <filesystem>
#include <string>

// The meshes of the generated models, each in its own frame (Y up, base at
// y = 0, centred on the Y axis). The track models take their sizes from their
// row of the size table.

// Island world (IslandModels.cpp): sea bed, ice, islands, volcano, palm.
Mesh buildPlanetFloor(const TrackModel& row);
Mesh buildIce(const TrackModel& row, TrackModelId id);
Mesh buildIsland(const TrackModel& row, TrackModelId id);
Mesh buildVolcano(const TrackModel& row);
Mesh buildPalm(const TrackModel& row);

// Buildings and statues (BuildingModels.cpp).
Mesh buildLightHouse(const TrackModel& row);
Mesh buildHouse1(const TrackModel& row);
Mesh buildHouse2(const TrackModel& row);
Mesh buildPirateShip(const TrackModel& row);
Mesh buildDragon(const TrackModel& row);

// What lines the course (CourseModels.cpp).
Mesh buildRamp(const TrackModel& row);
Mesh buildBarrier(const TrackModel& row);
Mesh buildSign(const TrackModel& row);
Mesh buildBigSign(const TrackModel& row);
Mesh buildCrate(const TrackModel& row);

// The player's motorboat (BoatModel.cpp): bow toward +Z, the hull's bottom at
// the origin, inside the chassis box.
Mesh buildBoat();

// The trophy scene (TrophyModels.cpp): lathed goblets standing at y = 0 and
// the stage ball, a sphere about the origin.
enum class Goblet
{
    Gold,
    Silver,
    Bronze
};
Mesh buildGoblet(Goblet goblet);
inline constexpr float stageBallRadius = 10.6f;
Mesh buildStageBall();

// The OBJ text of the model file at a path under Assets/, as the writer writes
// it; empty for a path that is no model's.
std::string modelFileText(const std::filesystem::path& path);
