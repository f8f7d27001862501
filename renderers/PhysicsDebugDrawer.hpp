#pragma once

#include "graphics/VertexLayouts.hpp"

#include <LinearMath/btIDebugDraw.h>

#include <cstdint>

// A line list in storage of fixed room that its owner provides (a frame's
// mapped vertex buffer): two vertices of one colour per line, one after
// another. A line that would take the list past its room is dropped, so the
// list always fits.
struct LineList
{
    LineVertex* vertices = nullptr;
    std::uint32_t room = 0;
    std::uint32_t count = 0;
};

// Bullet's debug drawing, collected into a line list.
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

    // The list the lines are appended to from now on; without one every line
    // is dropped.
    void setLineList(LineList* list);

private:
    LineList* lines = nullptr;
};
