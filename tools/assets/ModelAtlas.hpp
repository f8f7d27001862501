#pragma once

#include <glm/vec2.hpp>

// How the generated models use their textures. Each model has one texture
// layer (one albedo, normal and ARME picture); a model of several materials
// lays each part's texture coordinates inside one quarter of that picture, so
// the picture holds up to four materials, one per quarter, each a plain
// surface (paint, planks, rock...) that needs no alignment with the mesh.
// Coordinates are in image space: u to the right, t down the rows.
//
// What each layer's quarters hold (top left, top right, bottom left, bottom right):
//  0 barrier   red paint        | white paint      | dark rubber foot | dark rubber foot
//  1 house     cream plaster    | terracotta tiles | window glass     | dark wood
//  2-4 ice     snow             | ice cliff        | deep ice (below the water) | ice cliff
//  5 sand      dry sand         | grass            | wet sand         | rock (below the water)
//  6 lighthouse red paint       | white paint      | rock             | lamp glass (glowing)
//  7 palm      bark             | frond green      | coconut          | dark frond green
//  8 ship      dark hull planks | sail cloth       | deck planks      | black paint and iron
//  9 ramp      grip surface     | orange paint     | grey metal       | yellow paint
// 10 dragon    jade scales      | red wing membrane| stone            | gold
// 11 volcano   dark basalt      | grey ash         | lava (glowing)   | shore rock
// 12 house2    pastel planks    | slate tiles      | window glass     | white trim
// 13 sign      white board      | red arrow        | grey metal       | dark green board back
// 14 bigSign   chequered banner | red paint        | white paint      | dark trim
// 15 crate     crate planks     | frame boards     | frame boards     | frame boards
// 16 boat      white hull       | red paint        | teak deck        | dark glass and chrome
// Goblets and the stage ball use their whole picture.

struct AtlasRegion {
    glm::vec2 min;
    glm::vec2 max;
};

// A small inset keeps mip-mapped samples off the neighbouring quarter.
inline constexpr float atlasInset = 1.0f / 64.0f;

inline constexpr AtlasRegion topLeft{{atlasInset, atlasInset}, {0.5f - atlasInset, 0.5f - atlasInset}};
inline constexpr AtlasRegion topRight{{0.5f + atlasInset, atlasInset}, {1.0f - atlasInset, 0.5f - atlasInset}};
inline constexpr AtlasRegion bottomLeft{{atlasInset, 0.5f + atlasInset}, {0.5f - atlasInset, 1.0f - atlasInset}};
inline constexpr AtlasRegion bottomRight{{0.5f + atlasInset, 0.5f + atlasInset},
                                         {1.0f - atlasInset, 1.0f - atlasInset}};
inline constexpr AtlasRegion wholePicture{{0.0f, 0.0f}, {1.0f, 1.0f}};
