#include "engine/FileIo.hpp"
#include "game/assets/AssetPaths.hpp"
#include "game/scenes/HudLayout.hpp"
#include "graphics/ImageLoading.hpp"
#include "renderers/deferred/RendererPictures.hpp"
#include "support/TemporaryFolder.hpp"
#include "tools/assets/AssetKinds.hpp"
#include "tools/assets/Brdf.hpp"
#include "tools/assets/ModelAtlas.hpp"

#include <fmt/format.h>
#include <glm/geometric.hpp>
#include <glm/gtc/packing.hpp>
#include <glm/trigonometric.hpp>
#include <glm/vec3.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <iterator>
#include <string>
#include <vector>

namespace
{
namespace fs = std::filesystem;

fs::path cubeFace(const fs::path& assets, std::size_t face, Sky sky)
{
    return assets / skyFaceFiles(sky)[face];
}

void writeAll(const fs::path& assets)
{
    ASSERT_TRUE(writeMaterials(assets));
    ASSERT_TRUE(writePictures(assets));
    ASSERT_TRUE(writeSkies(assets));
    ASSERT_TRUE(writeSounds(assets));
}

// Loads every named image of a texture array: all must decode at one size.
void expectArray(const fs::path& assets, const std::vector<std::string>& names)
{
    std::optional<std::pair<std::uint32_t, std::uint32_t>> size;
    for (const std::string& name : names)
    {
        const std::optional<ImageData<std::uint32_t>> image = loadImage(assets / (name + ".png"));
        ASSERT_TRUE(image) << name;
        const std::pair<std::uint32_t, std::uint32_t> imageSize(image->width, image->height);
        EXPECT_EQ(imageSize, size.value_or(imageSize)) << name;
        size = imageSize;
    }
}

// Every face square, a power of two of at least 64, all six alike.
std::vector<ImageData<std::uint64_t>> loadCube(const fs::path& assets, Sky sky)
{
    std::vector<ImageData<std::uint64_t>> faces;
    for (std::size_t face = 0; face < 6; ++face)
    {
        std::optional<ImageData<std::uint64_t>> image = loadImageFloat(cubeFace(assets, face, sky));
        if (!image)
        {
            ADD_FAILURE() << cubeFace(assets, face, sky);
            return {};
        }
        EXPECT_EQ(image->width, image->height);
        EXPECT_TRUE(std::has_single_bit(image->width) && image->width >= 64) << image->width;
        EXPECT_EQ(image->width, faces.empty() ? image->width : faces.front().width);
        faces.push_back(std::move(*image));
    }
    return faces;
}

// The cube read as the device reads it: the face of the largest component,
// its (s, t) by the cube-map table, the nearest texel.
glm::vec3 sampleCube(const std::vector<ImageData<std::uint64_t>>& faces, glm::vec3 direction)
{
    const glm::vec3 magnitude = glm::abs(direction);
    std::size_t face = 0;
    float s = 0.0f;
    float t = 0.0f;
    float major = 0.0f;
    if (magnitude.x >= magnitude.y && magnitude.x >= magnitude.z)
    {
        face = direction.x > 0.0f ? 0 : 1;
        s = direction.x > 0.0f ? -direction.z : direction.z;
        t = -direction.y;
        major = magnitude.x;
    }
    else if (magnitude.y >= magnitude.z)
    {
        face = direction.y > 0.0f ? 2 : 3;
        s = direction.x;
        t = direction.y > 0.0f ? direction.z : -direction.z;
        major = magnitude.y;
    }
    else
    {
        face = direction.z > 0.0f ? 4 : 5;
        s = direction.z > 0.0f ? direction.x : -direction.x;
        t = -direction.y;
        major = magnitude.z;
    }
    const ImageData<std::uint64_t>& image = faces[face];
    const auto side = static_cast<float>(image.width);
    const auto column =
        std::min<std::uint32_t>(static_cast<std::uint32_t>((s / major + 1.0f) * 0.5f * side), image.width - 1);
    const auto row =
        std::min<std::uint32_t>(static_cast<std::uint32_t>((t / major + 1.0f) * 0.5f * side), image.height - 1);
    const std::uint64_t texel = image.pixels[row * image.width + column];
    return glm::vec3(glm::unpackHalf1x16(static_cast<std::uint16_t>(texel)),
                     glm::unpackHalf1x16(static_cast<std::uint16_t>(texel >> 16)),
                     glm::unpackHalf1x16(static_cast<std::uint16_t>(texel >> 32)));
}

// Mean relative difference between the two sides of every cube edge, a
// texel or two apart.
float edgeMismatch(const std::vector<ImageData<std::uint64_t>>& faces)
{
    float sum = 0.0f;
    int count = 0;
    for (int first = 0; first < 3; ++first)
    {
        for (int second = first + 1; second < 3; ++second)
        {
            const int third = 3 - first - second;
            for (const float firstSign : {-1.0f, 1.0f})
            {
                for (const float secondSign : {-1.0f, 1.0f})
                {
                    for (int step = -20; step <= 20; ++step)
                    {
                        glm::vec3 onEdge(0.0f);
                        onEdge[first] = firstSign;
                        onEdge[second] = secondSign;
                        onEdge[third] = static_cast<float>(step) * 0.045f;
                        glm::vec3 a = onEdge;
                        glm::vec3 b = onEdge;
                        a[first] *= 1.006f;
                        b[second] *= 1.006f;
                        const glm::vec3 colourA = sampleCube(faces, glm::normalize(a));
                        const glm::vec3 colourB = sampleCube(faces, glm::normalize(b));
                        const float scale = std::max(glm::length(colourA) + glm::length(colourB), 0.05f);
                        sum += glm::length(colourA - colourB) / scale;
                        ++count;
                    }
                }
            }
        }
    }
    return sum / static_cast<float>(count);
}

std::uint8_t alphaOf(std::uint32_t pixel)
{
    return static_cast<std::uint8_t>(pixel >> 24);
}

// The mean of one channel (0 red ... 3 alpha) over the image, 0 to 255.
float channelMean(const fs::path& path, int channel)
{
    const std::optional<ImageData<std::uint32_t>> image = loadImage(path);
    if (!image)
    {
        ADD_FAILURE() << path;
        return 0.0f;
    }
    double sum = 0.0;
    for (const std::uint32_t pixel : image->pixels)
    {
        sum += static_cast<double>((pixel >> (8 * channel)) & 0xFFU);
    }
    return static_cast<float>(sum / static_cast<double>(image->pixels.size()));
}

float colourStep(std::uint32_t a, std::uint32_t b)
{
    float sum = 0.0f;
    for (int channel = 0; channel < 3; ++channel)
    {
        sum += std::abs(static_cast<float>((a >> (8 * channel)) & 0xFFU) -
                        static_cast<float>((b >> (8 * channel)) & 0xFFU));
    }
    return sum;
}

// Repeated, the picture's right edge meets its left and its bottom its top
// no harder than the hardest of its own column and row boundaries.
void expectTiles(const fs::path& path)
{
    const std::optional<ImageData<std::uint32_t>> image = loadImage(path);
    ASSERT_TRUE(image) << path;
    const std::uint32_t size = image->width;
    ASSERT_EQ(size, image->height) << path;
    const auto at = [&](std::uint32_t x, std::uint32_t y) { return image->pixels[y * size + x]; };
    // Summed along the whole boundary between column (row) `before` and the next.
    const auto columnStep = [&](std::uint32_t before) {
        float sum = 0.0f;
        for (std::uint32_t y = 0; y < size; ++y)
        {
            sum += colourStep(at(before, y), at((before + 1) % size, y));
        }
        return sum;
    };
    const auto rowStep = [&](std::uint32_t before) {
        float sum = 0.0f;
        for (std::uint32_t x = 0; x < size; ++x)
        {
            sum += colourStep(at(x, before), at(x, (before + 1) % size));
        }
        return sum;
    };
    float hardestColumn = 0.0f;
    float hardestRow = 0.0f;
    for (std::uint32_t before = 0; before + 1 < size; ++before)
    {
        hardestColumn = std::max(hardestColumn, columnStep(before));
        hardestRow = std::max(hardestRow, rowStep(before));
    }
    EXPECT_LE(columnStep(size - 1), hardestColumn * 1.05f) << path;
    EXPECT_LE(rowStep(size - 1), hardestRow * 1.05f) << path;
}

// The ramp's deck (its top at the crest) has red chevrons on it whose tips,
// on the centre line, lie above their arms a little way to the side.
void expectChevronsPointUp(const fs::path& path)
{
    const std::optional<ImageData<std::uint32_t>> image = loadImage(path);
    ASSERT_TRUE(image) << path;
    const auto firstRedRow = [&](float u) {
        const auto x = static_cast<std::uint32_t>(u * static_cast<float>(image->width));
        const auto lastRow = static_cast<std::uint32_t>(rampDeck.max.y * static_cast<float>(image->height));
        for (std::uint32_t y = 0; y < lastRow; ++y)
        {
            const std::uint32_t pixel = image->pixels[y * image->width + x];
            if ((pixel & 0xFFU) > 150 && ((pixel >> 8) & 0xFFU) < 80 && ((pixel >> 16) & 0xFFU) < 80)
            {
                return static_cast<int>(y);
            }
        }
        return -1;
    };
    const int tip = firstRedRow(0.5f);
    const int arm = firstRedRow(0.3f);
    EXPECT_GE(tip, 0);
    EXPECT_GT(arm, tip + 5);
}

// The maps hold what the geometry pass reads from each channel: normals
// mostly facing out of the surface (blue), and ambient occlusion, roughness,
// metallic and emission in red, green, blue and alpha.
void expectMaterialChannels(const fs::path& assets)
{
    for (const std::string& material : trackMaterialNames)
    {
        EXPECT_GT(channelMean(assets / (material + " Normal.png"), 2), 220.0f) << material;
        expectTiles(assets / (material + " Albedo.png"));
        expectTiles(assets / (material + " Normal.png"));
    }
    expectTiles(assets / oceanWavesFile);
    const fs::path sand = assets / (materialName(TrackMaterial::Sand) + " ARME.png");
    EXPECT_GT(channelMean(sand, 0), 200.0f);
    EXPECT_GT(channelMean(sand, 1), 200.0f);
    EXPECT_LT(channelMean(sand, 2), 5.0f);
    EXPECT_LT(channelMean(sand, 3), 5.0f);
    // The ramp is painted, not bare steel: a mirror shows the sky in place of its markings.
    const fs::path ramp = assets / (materialName(TrackMaterial::Ramp) + " ARME.png");
    EXPECT_LT(channelMean(ramp, 2), 5.0f);
    EXPECT_GT(channelMean(ramp, 1), 165.0f);
    expectChevronsPointUp(assets / (materialName(TrackMaterial::Ramp) + " Albedo.png"));
    EXPECT_GT(channelMean(assets / (materialName(GobletMaterial::Gold) + " ARME.png"), 2), 250.0f);
    EXPECT_GT(channelMean(assets / (materialName(TrackMaterial::Volcano) + " ARME.png"), 3), 2.0f);
}

// The samplers repeat: nothing of a layer may reach its edges, or it shows
// on the opposite side.
void expectTransparentBorder(const ImageData<std::uint32_t>& image, const std::string& name)
{
    constexpr std::uint32_t border = 4;
    for (std::uint32_t y = 0; y < image.height; ++y)
    {
        for (std::uint32_t x = 0; x < image.width; ++x)
        {
            const bool inBorder = x < border || y < border || x >= image.width - border || y >= image.height - border;
            if (inBorder && alphaOf(image.pixels[y * image.width + x]) != 0)
            {
                ADD_FAILURE() << name << " is visible at " << x << ", " << y;
                return;
            }
        }
    }
}

// The race turns the needle's quad about its centre from a rest direction of
// -x: the solid pointer must lie along the left half of the horizontal.
void expectNeedleAtRest(const ImageData<std::uint32_t>& needle)
{
    const float centre = static_cast<float>(needle.width) * 0.5f;
    float reach = 0.0f;
    for (std::uint32_t y = 0; y < needle.height; ++y)
    {
        for (std::uint32_t x = 0; x < needle.width; ++x)
        {
            const float dx = static_cast<float>(x) + 0.5f - centre;
            const float dy = static_cast<float>(y) + 0.5f - centre;
            if (alphaOf(needle.pixels[y * needle.width + x]) > 240 && std::hypot(dx, dy) > centre * 0.25f)
            {
                EXPECT_LT(dx, 0.0f);
                EXPECT_LT(std::abs(dy), centre * 0.06f);
                reach = std::max(reach, -dx);
            }
        }
    }
    EXPECT_GT(reach, centre * 0.7f);
}

std::vector<fs::path> filesUnder(const fs::path& folder)
{
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
    {
        if (entry.is_regular_file())
        {
            files.push_back(fs::relative(entry.path(), folder));
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(PictureAssetsTest, EveryPictureLoadsAtItsSizeAndASecondRunWritesTheSameBytes)
{
    TemporaryFolder folder;
    const fs::path first = folder.path() / "first";
    const fs::path second = folder.path() / "second";
    writeAll(first);
    writeAll(second);

    expectArray(first, std::vector<std::string>(hudTextureNames.begin(), hudTextureNames.end()));
    for (const std::string& layer : hudTextureNames)
    {
        expectTransparentBorder(loadImage(first / (layer + ".png")).value_or(ImageData<std::uint32_t>()), layer);
    }
    expectNeedleAtRest(
        loadImage(first / (hudTextureNames[needleLayer] + ".png")).value_or(ImageData<std::uint32_t>()));
    for (const char* suffix : {" Albedo", " Normal", " ARME"})
    {
        std::vector<std::string> names;
        for (const std::string& material : trackMaterialNames)
        {
            names.push_back(material + suffix);
        }
        expectArray(first, names);
        names.clear();
        for (const std::string& material : gobletMaterialNames)
        {
            names.push_back(material + suffix);
        }
        expectArray(first, names);
    }
    expectMaterialChannels(first);
    for (const char* single : {menuBackgroundFile, smokeFile, oceanWavesFile,
                               brdfTableFile})
    {
        EXPECT_TRUE(loadImage(first / single)) << single;
    }
    EXPECT_EQ(loadCube(first, Sky::Race).size(), 6u);
    EXPECT_EQ(loadCube(first, Sky::Trophy).size(), 6u);

    const std::vector<fs::path> files = filesUnder(first);
    ASSERT_EQ(files, filesUnder(second));
    // What the build checks for is what the writers make.
    std::vector<fs::path> listed;
    for (const std::vector<fs::path>& paths : {materialPaths(), picturePaths(), skyPaths(), soundPaths()})
    {
        listed.insert(listed.end(), paths.begin(), paths.end());
    }
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(files, listed);
    for (const fs::path& file : files)
    {
        EXPECT_EQ(readFile(first / file), readFile(second / file)) << file;
    }
}

AssetSelection only(std::vector<fs::path> wanted)
{
    return [wanted](const fs::path& path) { return std::find(wanted.begin(), wanted.end(), path) != wanted.end(); };
}

std::vector<fs::path> withPrefix(const std::vector<fs::path>& paths, const std::string& prefix)
{
    std::vector<fs::path> kept;
    std::copy_if(paths.begin(), paths.end(), std::back_inserter(kept),
                 [&](const fs::path& path) { return path.string().starts_with(prefix); });
    std::sort(kept.begin(), kept.end());
    return kept;
}

// A file deleted from the build's tree brings back the files drawn with it and no others.
TEST(PictureAssetsTest, AWriterAskedForSomeFilesMakesTheirGroupsAlone)
{
    TemporaryFolder folder;
    const fs::path assets = folder.path() / "Assets";
    const std::array<std::string, 6> studioFaces = skyFaceFiles(Sky::Trophy);
    EXPECT_EQ(writeSkies(assets, only({studioFaces[2]})), 6u);
    std::vector<fs::path> studio(studioFaces.begin(), studioFaces.end());
    std::sort(studio.begin(), studio.end());
    EXPECT_EQ(filesUnder(assets), studio);
    fs::remove_all(assets);

    EXPECT_EQ(writePictures(assets, only({hudTextureNames[lapLayer(2)] + ".png", smokeFile})), 13u);
    std::vector<fs::path> expected = withPrefix(picturePaths(), "Textures/");
    expected.erase(std::find(expected.begin(), expected.end(), menuBackgroundFile));
    expected.push_back(smokeFile);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(filesUnder(assets), expected);
    fs::remove_all(assets);

    const std::string sand = materialName(TrackMaterial::Sand);
    EXPECT_EQ(writeMaterials(assets, only({sand + " ARME.png"})), 3u);
    EXPECT_EQ(filesUnder(assets), withPrefix(materialPaths(), sand + " "));
    fs::remove_all(assets);

    EXPECT_EQ(writeSounds(assets, only({countdownFile})), 1u);
    EXPECT_EQ(filesUnder(assets), std::vector<fs::path>{countdownFile});
    EXPECT_EQ(writeSounds(assets, only({})), 0u);
}

TEST(PictureAssetsTest, CubeFacesJoinWithoutSeams)
{
    TemporaryFolder folder;
    ASSERT_TRUE(writeSkies(folder.path()));
    for (const Sky sky : {Sky::Race, Sky::Trophy})
    {
        const std::vector<ImageData<std::uint64_t>> faces = loadCube(folder.path(), sky);
        ASSERT_EQ(faces.size(), 6u);
        EXPECT_LT(edgeMismatch(faces), 0.02f) << "cube " << static_cast<int>(sky);
    }
}

// Evenly over the sphere along a spiral.
std::vector<glm::vec3> spiralDirections(int count)
{
    std::vector<glm::vec3> directions;
    for (int i = 0; i < count; ++i)
    {
        const float y = 1.0f - 2.0f * (static_cast<float>(i) + 0.5f) / static_cast<float>(count);
        const float around = 2.39996323f * static_cast<float>(i);
        const float ring = std::sqrt(1.0f - y * y);
        directions.emplace_back(ring * std::cos(around), y, ring * std::sin(around));
    }
    return directions;
}

TEST(PictureAssetsTest, RaceSkyIsClearBlueEveryWayWithoutASunOfItsOwn)
{
    // The race is sailed round a small planet, so any direction may be up:
    // no dark sea or ground may show in any of them, only sky and cloud. The
    // sun turns with the race clock and is drawn where its light comes from;
    // one painted here would stand elsewhere, so nothing outshines a cloud.
    // Most of the sky is clear and a deep, saturated blue, not a pale haze.
    TemporaryFolder folder;
    ASSERT_TRUE(writeSkies(folder.path()));
    const std::vector<ImageData<std::uint64_t>> faces = loadCube(folder.path(), Sky::Race);
    ASSERT_EQ(faces.size(), 6u);
    int dark = 0;
    int clear = 0;
    float brightest = 0.0f;
    glm::vec3 clearSum(0.0f);
    const std::vector<glm::vec3> directions = spiralDirections(4000);
    for (const glm::vec3& direction : directions)
    {
        const glm::vec3 colour = sampleCube(faces, direction);
        dark += colour.b < 0.4f;
        brightest = std::max(brightest, colour.r + colour.g + colour.b);
        if (colour.b > 3.0f * colour.r)
        {
            ++clear;
            clearSum += colour;
        }
    }
    EXPECT_EQ(dark, 0);
    EXPECT_LT(brightest, 3.2f);
    EXPECT_GT(clear, static_cast<int>(directions.size()) * 6 / 10);
    const glm::vec3 clearMean = clearSum / static_cast<float>(std::max(clear, 1));
    EXPECT_LT(clearMean.r, 0.15f * clearMean.b);
    EXPECT_LT(clearMean.g, 0.5f * clearMean.b);
}

TEST(PictureAssetsTest, StudioLightsStayOutOfTheTrophyCamerasPicture)
{
    // The trophy scene's camera stands at (0, 0.8, 3) looking at (0, 0.5, 0)
    // with a vertical field of 75 degrees on a 16:9 window (wider windows see
    // no higher). What it sees of the studio behind the goblets is its grey
    // cyclorama; the light boxes, which shine at several times that, light
    // the goblets from outside the picture.
    TemporaryFolder folder;
    ASSERT_TRUE(writeSkies(folder.path()));
    const std::vector<ImageData<std::uint64_t>> faces = loadCube(folder.path(), Sky::Trophy);
    ASSERT_EQ(faces.size(), 6u);
    const glm::vec3 forward = glm::normalize(glm::vec3(0.0f, -0.3f, -3.0f));
    const glm::vec3 right = glm::normalize(glm::cross(forward, glm::vec3(0.0f, 1.0f, 0.0f)));
    const glm::vec3 up = glm::cross(right, forward);
    const float halfHeight = std::tan(glm::radians(37.5f));
    const float halfWidth = halfHeight * 16.0f / 9.0f;
    float brightestSeen = 0.0f;
    for (int row = 0; row <= 40; ++row)
    {
        for (int column = 0; column <= 70; ++column)
        {
            const float x = (static_cast<float>(column) / 35.0f - 1.0f) * halfWidth;
            const float y = (1.0f - static_cast<float>(row) / 20.0f) * halfHeight;
            const glm::vec3 colour = sampleCube(faces, glm::normalize(forward + x * right + y * up));
            brightestSeen = std::max(brightestSeen, std::max({colour.r, colour.g, colour.b}));
        }
    }
    EXPECT_LT(brightestSeen, 0.5f);
    float brightest = 0.0f;
    for (const glm::vec3& direction : spiralDirections(4000))
    {
        const glm::vec3 colour = sampleCube(faces, direction);
        brightest = std::max(brightest, std::max({colour.r, colour.g, colour.b}));
    }
    EXPECT_GT(brightest, 2.0f);
}

TEST(PictureAssetsTest, BrdfTableHoldsTheSplitSumScaleAndBias)
{
    // Seen head-on, a mirror reflects its base reflectance unchanged; at a
    // grazing angle everything is reflected, through the bias.
    const glm::vec2 headOn = integrateBrdf(1.0f, 0.001f, 256);
    EXPECT_NEAR(headOn.x, 1.0f, 0.01f);
    EXPECT_NEAR(headOn.y, 0.0f, 0.01f);
    const glm::vec2 rough = integrateBrdf(0.5f, 1.0f, 1024);
    EXPECT_LT(rough.x + rough.y, 0.8f);

    // Columns by normal . view, rows by roughness with the smooth row on top.
    const std::vector<std::uint8_t> table = brdfLookupTable(32, 256);
    const auto texel = [&](int column, int row) { return &table[static_cast<std::size_t>((row * 32 + column) * 4)]; };
    EXPECT_GE(texel(31, 0)[0], 245);
    EXPECT_LE(texel(31, 0)[1], 5);
    EXPECT_GE(texel(0, 0)[1], 150);
    EXPECT_LT(texel(31, 31)[0], texel(31, 0)[0]);
}
} // namespace
