#include "tools/assets/ModelMeshes.hpp"

#include <glm/gtc/constants.hpp>

#include <cmath>
#include <vector>

Mesh buildGoblet(GobletMaterial goblet)
{
    // One cup profile, from the foot's centre up the outside, over the rim and
    // down the inside: a closed solid. Silver is slimmer and shorter, bronze
    // shorter and wider.
    struct Point
    {
        float radius;
        float height;
        bool crease;
    };
    const Point cup[] = {
        {0.0f, 0.0f, false},   {0.24f, 0.0f, true},    {0.24f, 0.03f, true},   {0.2f, 0.06f, false},
        {0.07f, 0.12f, false}, {0.045f, 0.25f, false}, {0.075f, 0.31f, false}, {0.045f, 0.37f, false},
        {0.05f, 0.45f, false}, {0.15f, 0.5f, false},   {0.26f, 0.6f, false},   {0.3f, 0.75f, false},
        {0.31f, 0.9f, true},   {0.29f, 0.9f, true},    {0.28f, 0.75f, false},  {0.24f, 0.61f, false},
        {0.13f, 0.53f, false}, {0.0f, 0.52f, false},
    };
    const glm::vec2 scale = goblet == GobletMaterial::Gold     ? glm::vec2(1.0f, 1.0f)
                            : goblet == GobletMaterial::Silver ? glm::vec2(0.92f, 0.88f)
                                                               : glm::vec2(1.05f, 0.78f);
    std::vector<ProfilePoint> profile;
    for (const Point& point : cup)
    {
        profile.push_back({point.radius * scale.x, point.height * scale.y, repeating(0.5f), point.crease});
    }
    Mesh mesh;
    addLathe(mesh, profile, 40, true);
    // The winner's cup has two handles: arcs of short tubes from the bowl's
    // waist up to below the rim.
    if (goblet == GobletMaterial::Gold)
    {
        constexpr int pieces = 8;
        for (const float side : {-1.0f, 1.0f})
        {
            const auto arc = [&](int i)
            {
                const float angle = glm::pi<float>() * float(i) / pieces;
                return glm::vec3(side * (0.27f + 0.14f * std::sin(angle)), 0.6f + 0.11f * (1.0f - std::cos(angle)),
                                 0.0f);
            };
            for (int i = 0; i < pieces; ++i)
            {
                addTube(mesh, arc(i), arc(i + 1), 0.022f, 0.022f, 6, repeating(0.5f));
            }
        }
    }
    return mesh;
}

Mesh buildStageBall()
{
    Mesh mesh;
    addUvSphere(mesh, glm::vec3(0.0f), stageBallRadius, 32, 64, wholePicture);
    return mesh;
}
