#pragma once

#include "graphics/MeshData.hpp"
#include "graphics/VertexLayouts.hpp"
#include "renderers/Font.hpp"

#include <cstdint>
#include <string>

struct Mesh;

// Any other value aligns left.
inline constexpr std::uint32_t textAlignLeft = 0;
inline constexpr std::uint32_t textAlignCentre = 1;
inline constexpr std::uint32_t textAlignRight = 2;

// One quad per character but the line feed, in window pixels from the top-left
// of the first line. A character outside the font's set takes a quad of no
// size and does not move the pen. Alignment shifts every line by the right
// edge of the widest one.
MeshData<ScreenVertex> buildTextMesh(const Font& font, const std::u32string& text, std::uint32_t alignment);
// The same from UTF-8.
MeshData<ScreenVertex> createText(const Font& font, const std::string& text, std::uint32_t alignment);

// Characters that the frames-per-second text mesh is made with room for:
// "FPS: " and any 32-bit count.
inline constexpr std::uint32_t fpsTextCapacity = 15;

// Writes a new text into a dynamic text mesh (createDynamicMesh), whose index
// buffer already holds the pattern for as many characters as it was made
// with. Each frame draws the new text once it has waited for its own fence;
// nothing waits here. A text longer than the one the mesh was made with, or a
// mesh that is not dynamic, leaves the mesh as it was and gives false.
bool updateTextMesh(Mesh& mesh, const MeshData<ScreenVertex>& text);
// "FPS: " and the timer's frames per second, left-aligned.
void refreshFpsText(const Font& font, Mesh& mesh);
