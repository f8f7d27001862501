#pragma once

#include "game/assets/MaterialLayers.hpp"
#include "game/race/TrackModels.hpp"
#include "tools/assets/MeshBuilder.hpp"

#include <filesystem>
#include <string>

// The meshes of the generated models, each in its own frame (Y up, base at
// y = 0, centred on the Y axis). The track models take their sizes from their
// row of the size table.
//
// Changing one model's look touches up to four places, each named for the
// model (the palm here; the others alike):
// - Its shape: the builder below (buildPalm, in IslandModels.cpp), made of
//   MeshBuilder's primitives.
// - Its size: its row of the size table, trackModels in game/race/TrackModels.cpp
//   (TrackModelId::Palm). The row also holds the body the race gives it, which
//   must stay inside the drawn model; the boat's box is boatHullHalfExtents
//   there, the goblets and the stage ball are sized in TrophyModels.cpp.
// - Its picture: the row's material layer (TrackMaterial::Palm, from
//   game/assets/MaterialLayers.hpp), whose surface is painted by the function
//   that trackMaterials() in MaterialSurfaces.cpp gives that layer (palm); the
//   goblets' by trophyMaterials().
// - Where on the picture each part lies: the AtlasRegion that the builder
//   passes with each part (palmFrond and palmTrunk in ModelAtlas.hpp, or a
//   repeating() region for a surface that tiles).
// The next build writes the model and its pictures again (the generator is
// newer than them). GeneratedModelsTest checks that the mesh fills its row
// and is closed, TrackModelsTest that its body stays inside it.

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
Mesh buildGoblet(GobletMaterial goblet);
inline constexpr float stageBallRadius = 10.6f;
Mesh buildStageBall();

// The OBJ text of the model file at a path under Assets/, as the writer writes
// it; empty for a path that is no model's.
std::string modelFileText(const std::filesystem::path& path);
