#pragma once

#include "graphics/VertexLayouts.hpp"

#include <LinearMath/btIDebugDraw.h>

#include <cstddef>

// Bullet's debug drawing, collected as a line list: two vertices of one colour
// per line, written one after another into the owner's vertices. A line that
// would take the list past its limit is dropped, so the list always fits.
class PhysicsDebugDrawer : public btIDebugDraw
{
public:
    // Wireframes, contact points, and polyhedra drawn by their edges.
    static constexpr int drawMode = DBG_DrawWireframe | DBG_DrawContactPoints | DBG_FastWireframe;

    ~PhysicsDebugDrawer() override = default;

    using btIDebugDraw::drawLine;
    void drawLine(const btVector3& from, const btVector3& to, const btVector3& color) override;
    void drawContactPoint(const btVector3& pointOnB, const btVector3& normalOnB, btScalar distance, int lifeTime,
                          const btVector3& color) override;
    void reportErrorWarning(const char* warningString) override;
    void draw3dText(const btVector3& location, const char* textString) override;
    // The mode is fixed.
    void setDebugMode(int debugMode) override;
    int getDebugMode() const override;

    // Starts an empty list in `vertices`, which has room for `vertexLimit`;
    // without vertices every line is dropped.
    void beginLines(LineVertex* vertices, std::size_t vertexLimit);
    // The vertices written since beginLines.
    std::size_t vertexCount() const;

private:
    LineVertex* lineVertices = nullptr;
    std::size_t maxVertices = 0;
    std::size_t count = 0;
};
