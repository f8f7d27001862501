#pragma once

#include "game/assets/MaterialLayers.hpp"

#include <glm/gtc/quaternion.hpp>
#include <glm/vec3.hpp>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

// One goblet of the trophy scene: its model, its pictures and its layer of
// the material arrays are its material's.
struct Goblet
{
    GobletMaterial material;
    glm::vec3 position;
};

// Gold, silver and bronze, for places 1 to 3.
inline const std::array<Goblet, 3> trophyGoblets{{{GobletMaterial::Gold, {0.0f, 0.0f, -1.5f}},
                                                  {GobletMaterial::Silver, {-1.0f, 0.0f, -1.5f}},
                                                  {GobletMaterial::Bronze, {1.0f, 0.0f, -1.5f}}}};

// Where the won goblet stands, in front of the other two.
inline const glm::vec3 winnerPosition{0.0f, 0.0f, 0.3f};

// The goblet won with a place; none for places outside 1 to 3.
std::optional<std::size_t> wonGoblet(std::int32_t place);

// Where each goblet of trophyGoblets stands after a race ending in the place:
// the won one in front, the others on their own spots.
std::array<glm::vec3, 3> gobletPositions(std::int32_t place);

// The won goblet's turn after some seconds of the game: 30 degrees a second about Y.
glm::quat gobletSpin(double elapsedSeconds);
