#pragma once

#include "graphics/MeshData.hpp"
#include "graphics/VertexLayouts.hpp"

#include <cstdint>

// A UV sphere about the origin with its poles on the y axis. Each pole is a
// row of coincident vertices and the seam column is doubled, so the polar
// quads give zero-area triangles. Triangles wind counter-clockwise seen from
// outside. Fewer than 3 sectors or stacks give an empty mesh.
MeshData<PositionVertex> generateSphere(float radius, std::uint32_t sectors, std::uint32_t stacks);
