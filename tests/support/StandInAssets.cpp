#include "support/StandInAssets.hpp"

#include "engine/FileIo.hpp"
#include "game/assets/AssetPaths.hpp"
#include "renderers/deferred/RendererPictures.hpp"

#include <fmt/format.h>
#include <glm/geometric.hpp>
#include <glm/gtc/constants.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <stb_image_write.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace
{
namespace fs = std::filesystem;

using Rgba = std::array<std::uint8_t, 4>;

bool writePicture(const fs::path& path, int width, int height, const std::function<Rgba(int, int)>& colourAt)
{
    fs::create_directories(path.parent_path());
    std::vector<std::uint8_t> pixels;
    pixels.reserve(static_cast<std::size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            const Rgba colour = colourAt(x, y);
            pixels.insert(pixels.end(), colour.begin(), colour.end());
        }
    }
    return stbi_write_png(path.string().c_str(), width, height, 4, pixels.data(), width * 4) != 0;
}

bool writePlain(const fs::path& path, int side, Rgba colour)
{
    return writePicture(path, side, side, [&](int, int) { return colour; });
}

bool writeSkyFace(const fs::path& path, const glm::vec3& colour)
{
    fs::create_directories(path.parent_path());
    constexpr int side = 64;
    std::vector<float> rgb;
    for (int pixel = 0; pixel < side * side; ++pixel)
    {
        rgb.insert(rgb.end(), {colour.r, colour.g, colour.b});
    }
    return stbi_write_hdr(path.string().c_str(), side, side, 3, rgb.data()) != 0;
}

struct ObjWriter
{
    std::string text;
    std::uint32_t count = 0;

    // One triangle, counter-clockwise seen from where the normal points.
    void triangle(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c, const glm::vec3& normal)
    {
        for (const glm::vec3& corner : {a, b, c})
        {
            text += fmt::format("v {} {} {}\nvt {} {}\nvn {} {} {}\n", corner.x, corner.y, corner.z,
                                corner.x * 0.5f + 0.5f, corner.y * 0.5f + 0.5f, normal.x, normal.y, normal.z);
        }
        text += fmt::format("f {0}/{0}/{0} {1}/{1}/{1} {2}/{2}/{2}\n", count + 1, count + 2, count + 3);
        count += 3;
    }

    void quad(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c, const glm::vec3& d)
    {
        const glm::vec3 normal = glm::normalize(glm::cross(b - a, c - a));
        triangle(a, b, c, normal);
        triangle(a, c, d, normal);
    }
};

// A cup of square section, wider at the top, on a square foot.
std::string gobletObj()
{
    ObjWriter obj;
    const auto ring = [](float halfSide, float y) {
        return std::array<glm::vec3, 4>{glm::vec3(-halfSide, y, halfSide), glm::vec3(halfSide, y, halfSide),
                                        glm::vec3(halfSide, y, -halfSide), glm::vec3(-halfSide, y, -halfSide)};
    };
    const std::array<std::array<glm::vec3, 4>, 4> rings{ring(0.25f, 0.0f), ring(0.08f, 0.1f), ring(0.08f, 0.45f),
                                                        ring(0.3f, 0.9f)};
    for (std::size_t level = 0; level + 1 < rings.size(); ++level)
    {
        for (std::size_t side = 0; side < 4; ++side)
        {
            const std::size_t next = (side + 1) % 4;
            obj.quad(rings[level][side], rings[level][next], rings[level + 1][next], rings[level + 1][side]);
        }
    }
    const auto& foot = rings.front();
    obj.quad(foot[3], foot[2], foot[1], foot[0]);
    const auto& top = rings.back();
    obj.quad(top[0], top[1], top[2], top[3]);
    return obj.text;
}

std::string sphereObj(float radius, int slices, int stacks)
{
    ObjWriter obj;
    const auto point = [&](int slice, int stack) {
        const float theta = glm::two_pi<float>() * static_cast<float>(slice) / static_cast<float>(slices);
        const float phi = glm::pi<float>() * static_cast<float>(stack) / static_cast<float>(stacks);
        return glm::vec3(std::sin(phi) * std::cos(theta), std::cos(phi), -std::sin(phi) * std::sin(theta));
    };
    for (int stack = 0; stack < stacks; ++stack)
    {
        for (int slice = 0; slice < slices; ++slice)
        {
            const glm::vec3 a = point(slice, stack);
            const glm::vec3 b = point(slice, stack + 1);
            const glm::vec3 c = point(slice + 1, stack + 1);
            const glm::vec3 d = point(slice + 1, stack);
            if (stack + 1 < stacks)
            {
                obj.triangle(a * radius, b * radius, c * radius, glm::normalize(a + b + c));
            }
            if (stack > 0)
            {
                obj.triangle(a * radius, c * radius, d * radius, glm::normalize(a + c + d));
            }
        }
    }
    return obj.text;
}

bool writeText(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    return writeFile(path, text, false);
}
}

bool writeStandInAssets(const fs::path& assets)
{
    bool written = writePicture(assets / menuBackgroundFile, 320, 180, [](int x, int y) -> Rgba {
        if (y < 36 && x >= 40 && x < 280)
        {
            return {230, 210, 150, 255};
        }
        return {20, static_cast<std::uint8_t>(30 + y / 3), static_cast<std::uint8_t>(90 + y / 2), 255};
    });

    for (std::size_t layer = 0; layer < hudTextureNames.size(); ++layer)
    {
        const auto shade = static_cast<std::uint8_t>(40 + 18 * layer);
        written = written && writePlain(assets / (hudTextureNames[layer] + ".png"), 64,
                                        {shade, static_cast<std::uint8_t>(255 - shade), 120, 230});
    }

    const std::array<std::string, 6> faces = skyFaceFiles(Sky::Trophy);
    for (std::size_t face = 0; face < faces.size(); ++face)
    {
        const glm::vec3 colour = face == 2   ? glm::vec3(0.5f, 0.65f, 0.9f)
                                 : face == 3 ? glm::vec3(0.05f, 0.04f, 0.03f)
                                             : glm::vec3(0.2f, 0.28f, 0.4f);
        written = written && writeSkyFace(assets / faces[face], colour);
    }
    written = written && writePlain(assets / oceanWavesFile, 4, {128, 128, 255, 255}) &&
              writePlain(assets / brdfTableFile, 4, {230, 8, 0, 255});

    const std::array<std::pair<GobletMaterial, Rgba>, 3> metals{{{GobletMaterial::Gold, {255, 200, 40, 255}},
                                                                 {GobletMaterial::Silver, {200, 200, 210, 255}},
                                                                 {GobletMaterial::Bronze, {190, 110, 50, 255}}}};
    for (const auto& [goblet, albedo] : metals)
    {
        const std::string base = (assets / materialName(goblet)).string();
        written = written && writePlain(base + " Albedo.png", 4, albedo) &&
                  writePlain(base + " Normal.png", 4, {128, 128, 255, 255}) &&
                  writePlain(base + " ARME.png", 4, {255, 90, 255, 0}) &&
                  writeText(assets / gobletModelFile(goblet), gobletObj());
    }
    return written && writeText(assets / stageBallModelFile, sphereObj(10.5f, 32, 16));
}
