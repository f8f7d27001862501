#include "game/assets/AssetPaths.hpp"
#include "tools/assets/AssetFiles.hpp"
#include "tools/assets/AssetKinds.hpp"
#include "tools/assets/ModelMeshes.hpp"

#include <functional>
#include <string>
#include <vector>

namespace
{

struct ModelFile
{
    std::string path;
    std::function<Mesh()> build;
};

std::vector<ModelFile> modelTable()
{
    std::vector<ModelFile> files;
    const auto track = [&](TrackModelId id, std::function<Mesh(const TrackModel&)> build)
    {
        const TrackModel& row = trackModel(id);
        files.push_back({trackModelFile(row), [&row, build] { return build(row); }});
    };
    track(TrackModelId::PlanetFloor, buildPlanetFloor);
    for (const TrackModelId id : {TrackModelId::Ice1, TrackModelId::Ice2, TrackModelId::Ice3})
    {
        track(id, [id](const TrackModel& row) { return buildIce(row, id); });
    }
    track(TrackModelId::PirateShip, buildPirateShip);
    for (const TrackModelId id : {TrackModelId::Island1, TrackModelId::Island2})
    {
        track(id, [id](const TrackModel& row) { return buildIsland(row, id); });
    }
    track(TrackModelId::LightHouse, buildLightHouse);
    track(TrackModelId::Volcano, buildVolcano);
    track(TrackModelId::Dragon, buildDragon);
    track(TrackModelId::House1, buildHouse1);
    track(TrackModelId::House2, buildHouse2);
    track(TrackModelId::Ramp, buildRamp);
    track(TrackModelId::Palm, buildPalm);
    track(TrackModelId::Barrier, buildBarrier);
    track(TrackModelId::Sign, buildSign);
    track(TrackModelId::BigSign, buildBigSign);
    track(TrackModelId::Crate, buildCrate);
    files.push_back({boatModelFile, buildBoat});
    for (const GobletMaterial goblet : {GobletMaterial::Gold, GobletMaterial::Silver, GobletMaterial::Bronze})
    {
        files.push_back({gobletModelFile(goblet), [goblet] { return buildGoblet(goblet); }});
    }
    files.push_back({stageBallModelFile, buildStageBall});
    return files;
}

} // namespace

std::vector<std::filesystem::path> modelPaths()
{
    std::vector<std::filesystem::path> paths;
    for (const ModelFile& file : modelTable())
    {
        paths.emplace_back(file.path);
    }
    return paths;
}

std::string modelFileText(const std::filesystem::path& path)
{
    for (const ModelFile& file : modelTable())
    {
        if (file.path == path)
        {
            return objText(file.build());
        }
    }
    return {};
}

std::optional<std::size_t> writeModels(const std::filesystem::path& assets, const AssetSelection& wanted)
{
    std::size_t count = 0;
    for (const ModelFile& file : modelTable())
    {
        if (!wanted(file.path))
        {
            continue;
        }
        if (!writeText(assets / file.path, objText(file.build())))
        {
            return std::nullopt;
        }
        ++count;
    }
    return count;
}
