#pragma once

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

#include <functional>
#include <string>
#include <vector>

// What a material is at one point of its tile.
struct Surface
{
    // Display (sRGB) base colour.
    glm::vec3 albedo{0.5f};
    // Relief in [0, 1]; the normal map is its slope.
    float height = 0.0f;
    float occlusion = 1.0f;
    float roughness = 0.5f;
    float metallic = 0.0f;
    float emission = 0.0f;
};

// A material drawn procedurally over the unit square of its texture, repeating
// without a seam at the square's edges.
struct MaterialPattern
{
    // The material layer's name, e.g. "Models/WaterPlanet/sand"; the files
    // add " Albedo", " Normal" and " ARME".
    std::string name;
    std::function<Surface(glm::vec2)> surface;
    // How deep the relief of height 1 is, in tile widths.
    float depth = 0.01f;
};

// One pattern for each layer of the track's material arrays, and one for each goblet's.
std::vector<MaterialPattern> trackMaterials();
std::vector<MaterialPattern> trophyMaterials();
