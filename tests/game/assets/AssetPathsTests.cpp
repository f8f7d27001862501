#include "game/assets/AssetPaths.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{
// The game, the generator and the tests all read these names, so a slip here
// goes unseen by any of them: it would only move a file away from where an
// existing Assets/ folder, or a layer index in a model's material, has it.
TEST(AssetPathsTest, MaterialLayersKeepTheirIndicesAndFileNames)
{
    EXPECT_EQ(materialLayer(TrackMaterial::Barrier), 0u);
    EXPECT_EQ(materialName(TrackMaterial::Barrier), "Models/WaterPlanet/barrier");
    EXPECT_EQ(materialName(TrackMaterial::Lighthouse), "Models/WaterPlanet/Lighthouse");
    EXPECT_EQ(materialName(TrackMaterial::House2), "Models/WaterPlanet/house2");
    EXPECT_EQ(materialLayer(TrackMaterial::Crate), 15u);
    EXPECT_EQ(materialName(TrackMaterial::Crate), "Models/WaterPlanet/crate");
    EXPECT_EQ(materialLayer(TrackMaterial::Boat), 16u);
    EXPECT_EQ(materialName(TrackMaterial::Boat), "Models/Boat");
    EXPECT_EQ(materialLayer(GobletMaterial::Bronze), 2u);
    EXPECT_EQ(gobletModelFile(GobletMaterial::Silver), "Models/Trophies/silver_goblet.obj");

    // Two layers of one name would read one picture set twice.
    std::vector<std::string> names(trackMaterialNames.begin(), trackMaterialNames.end());
    names.insert(names.end(), gobletMaterialNames.begin(), gobletMaterialNames.end());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
}

// The environment's faces must come in cube-layer order, or the sky is
// lit and reflected turned over.
TEST(AssetPathsTest, SkyFacesComeInCubeLayerOrder)
{
    const std::array<std::string, 6> race = skyFaceFiles(Sky::Race);
    EXPECT_EQ(race[0], "ZavikDemoScene/Textures/CubeMap/right.hdr");
    EXPECT_EQ(race[3], "ZavikDemoScene/Textures/CubeMap/bottom.hdr");
    EXPECT_EQ(race[5], "ZavikDemoScene/Textures/CubeMap/back.hdr");
    const std::array<std::string, 6> trophy = skyFaceFiles(Sky::Trophy);
    EXPECT_EQ(trophy[1], "ZavikDemoScene/Textures/CubeMap/left3.hdr");
    EXPECT_EQ(trophy[2], "ZavikDemoScene/Textures/CubeMap/top3.hdr");
    EXPECT_EQ(trophy[4], "ZavikDemoScene/Textures/CubeMap/front3.hdr");
    EXPECT_EQ(inAssets(trophy[4]), "Assets/ZavikDemoScene/Textures/CubeMap/front3.hdr");
}
}
