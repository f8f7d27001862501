// The two environments the track scenes light and reflect with, as cube maps
// of Radiance HDR faces in linear light: the race's open sky and the trophy
// scene's photo studio. Each texel is the environment seen along its own
// direction, so the faces join wherever the cube is read.
#include "game/assets/AssetPaths.hpp"
#include "tools/assets/AssetFiles.hpp"
#include "tools/assets/AssetKinds.hpp"
#include "tools/assets/CubeFaces.hpp"
#include "tools/assets/Noise.hpp"
#include "tools/assets/Parallel.hpp"
#include "tools/assets/Raster.hpp"

#include <glm/common.hpp>
#include <glm/exponential.hpp>
#include <glm/geometric.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace
{
constexpr int raceFaceSize = 512;
constexpr int studioFaceSize = 256;

// The race is sailed on a small planet whose up turns with the place on it,
// so the sky has no horizon, ground or up of its own: it is sky in every
// direction. Nor has it a sun: the race's sun turns with the race clock, so
// the composite pass draws its disc where the light comes from, and a sun
// painted here would stand somewhere else. What is left is a clear, deep blue,
// a little lighter and darker in broad patches, under fair-weather clouds.
// Each cloud is shaded as if lit from this side of the sky.
const glm::vec3 cloudLight = glm::normalize(glm::vec3(-1.0f, 0.3f, 0.2f));

glm::vec3 raceSky(glm::vec3 direction)
{
    const glm::vec3 deep(0.06f, 0.19f, 0.62f);
    const glm::vec3 light(0.1f, 0.26f, 0.68f);
    glm::vec3 colour = glm::mix(deep, light, spaceFbm(direction * 0.9f, 2, 2203U));

    // The clouds drift over the whole sphere, gathered into banks with clear
    // sky between them; each is shaded on one side, as if lit from across the
    // sky, so it has a body rather than a flat white shape.
    const glm::vec3 onSphere = direction * 3.2f;
    const float banks = smoothStep(0.4f, 0.62f, spaceFbm(direction * 1.3f, 3, 1907U));
    const float shape = spaceFbm(onSphere, 6, 811U);
    const float cloudCover = smoothStep(0.52f, 0.68f, shape) * banks;
    const float shade = spaceFbm(onSphere + cloudLight * 0.1f, 6, 811U);
    const float lit = glm::clamp(0.75f + (shape - shade) * 6.0f, 0.45f, 1.05f);
    const glm::vec3 cloud = glm::mix(glm::vec3(0.42f, 0.48f, 0.62f), glm::vec3(0.98f, 0.97f, 0.95f), lit);
    return glm::mix(colour, cloud, cloudCover * 0.92f);
}

// A soft light box of the studio: bright inside a rounded rectangle seen
// around `centre`, falling off over its edge.
float softBox(glm::vec3 direction, glm::vec3 centre, glm::vec2 halfSize, float softness)
{
    const float facing = glm::dot(direction, centre);
    if (facing <= 0.0f)
    {
        return 0.0f;
    }
    const glm::vec3 reference = std::abs(centre.y) > 0.9f ? glm::vec3(0.0f, 0.0f, 1.0f) : glm::vec3(0.0f, 1.0f, 0.0f);
    const glm::vec3 right = glm::normalize(glm::cross(reference, centre));
    const glm::vec3 up = glm::cross(centre, right);
    const glm::vec2 onBox(glm::dot(direction, right) / facing, glm::dot(direction, up) / facing);
    const float distance = roundedBoxDistance(onBox, glm::vec2(0.0f), halfSize, 0.08f);
    return 1.0f - smoothStep(-softness, softness, distance);
}

glm::vec3 studio(glm::vec3 direction)
{
    const float elevation = direction.y;
    // A grey cyclorama: a pale floor, the walls darkening towards the
    // ceiling. Polished metal shows what is round it, so the walls are light
    // enough for the goblets' sides to keep their colour.
    const glm::vec3 ceiling(0.02f, 0.02f, 0.024f);
    const glm::vec3 wall(0.1f, 0.095f, 0.09f);
    const glm::vec3 floor(0.3f, 0.28f, 0.26f);
    glm::vec3 colour = elevation >= 0.0f ? glm::mix(wall, ceiling, smoothStep(0.0f, 0.8f, elevation))
                                         : glm::mix(wall, floor, smoothStep(0.0f, 0.2f, -elevation));

    // The key light stands where the scene's sun comes from (it travels along
    // (1, -0.5, -1)); a cooler fill opposite, a strip overhead and two rims
    // behind. The camera looks along -Z from just above the stage, and its
    // picture reaches about 30 degrees above level: the rims hang higher, so
    // they light the goblets' edges without standing in the picture.
    const glm::vec3 key = glm::normalize(glm::vec3(-1.0f, 0.5f, 1.0f));
    const glm::vec3 fill = glm::normalize(glm::vec3(1.0f, 0.25f, 0.8f));
    const glm::vec3 strip = glm::normalize(glm::vec3(0.0f, 1.0f, -0.25f));
    const glm::vec3 leftRim = glm::normalize(glm::vec3(-0.6f, 1.6f, -0.6f));
    const glm::vec3 rightRim = glm::normalize(glm::vec3(0.6f, 1.6f, -0.6f));
    colour += glm::vec3(1.0f, 0.95f, 0.86f) * 9.0f * softBox(direction, key, glm::vec2(0.42f, 0.3f), 0.06f);
    colour += glm::vec3(0.8f, 0.88f, 1.0f) * 2.2f * softBox(direction, fill, glm::vec2(0.3f, 0.3f), 0.1f);
    colour += glm::vec3(1.0f) * 3.5f * softBox(direction, strip, glm::vec2(0.08f, 0.6f), 0.03f);
    for (const glm::vec3& rim : {leftRim, rightRim})
    {
        colour += glm::vec3(1.0f, 0.97f, 0.92f) * 2.5f * softBox(direction, rim, glm::vec2(0.4f, 0.1f), 0.05f);
    }
    // Light spilling from the key box onto the walls around it.
    colour += glm::vec3(0.15f, 0.13f, 0.1f) * std::pow(glm::max(glm::dot(direction, key), 0.0f), 6.0f);
    return colour;
}

struct Cube
{
    Sky sky;
    int size;
    glm::vec3 (*environment)(glm::vec3);
};

const Cube cubes[]{{Sky::Race, raceFaceSize, raceSky}, {Sky::Trophy, studioFaceSize, studio}};

std::vector<std::filesystem::path> facePaths(const Cube& cube)
{
    const std::array<std::string, 6> files = skyFaceFiles(cube.sky);
    return std::vector<std::filesystem::path>(files.begin(), files.end());
}

bool writeCube(const std::filesystem::path& assets, const Cube& cube)
{
    const std::vector<std::filesystem::path> paths = facePaths(cube);
    for (int face = 0; face < 6; ++face)
    {
        const int size = cube.size;
        std::vector<float> rgb(static_cast<std::size_t>(size * size * 3));
        forEachIndex(size, [&](int row) {
            for (int column = 0; column < size; ++column)
            {
                const glm::vec3 colour = cube.environment(cubeTexelDirection(face, column, row, size));
                float* texel = &rgb[static_cast<std::size_t>((row * size + column) * 3)];
                texel[0] = colour.r;
                texel[1] = colour.g;
                texel[2] = colour.b;
            }
        });
        if (!writeHdr(assets / paths[static_cast<std::size_t>(face)], size, size, rgb))
        {
            return false;
        }
    }
    return true;
}
} // namespace

std::vector<std::filesystem::path> skyPaths()
{
    std::vector<std::filesystem::path> paths;
    for (const Cube& cube : cubes)
    {
        for (std::filesystem::path& path : facePaths(cube))
        {
            paths.push_back(std::move(path));
        }
    }
    return paths;
}

std::optional<std::size_t> writeSkies(const std::filesystem::path& assets, const AssetSelection& wanted)
{
    std::size_t count = 0;
    for (const Cube& cube : cubes)
    {
        const std::vector<std::filesystem::path> paths = facePaths(cube);
        if (std::none_of(paths.begin(), paths.end(), wanted))
        {
            continue;
        }
        if (!writeCube(assets, cube))
        {
            return std::nullopt;
        }
        count += paths.size();
    }
    return count;
}
