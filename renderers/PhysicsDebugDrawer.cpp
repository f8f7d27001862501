#include "renderers/PhysicsDebugDrawer.hpp"

#include "engine/Log.hpp"

#include <fmt/format.h>

namespace
{
glm::vec3 toGlm(const btVector3& vector)
{
    return {vector.x(), vector.y(), vector.z()};
}
}

void PhysicsDebugDrawer::drawLine(const btVector3& from, const btVector3& to, const btVector3& color)
{
    if (lines == nullptr || lines->vertices == nullptr || std::uint64_t{lines->count} + 2 > lines->room)
    {
        return;
    }
    const glm::vec3 colour = toGlm(color);
    lines->vertices[lines->count++] = {toGlm(from), colour};
    lines->vertices[lines->count++] = {toGlm(to), colour};
}

void PhysicsDebugDrawer::drawContactPoint(const btVector3& pointOnB, const btVector3& normalOnB, btScalar distance,
                                          int, const btVector3& color)
{
    drawLine(pointOnB + normalOnB * distance, pointOnB - normalOnB * distance, color);
}

void PhysicsDebugDrawer::reportErrorWarning(const char* warningString)
{
    logDebug(fmt::format("Bullet Physics Warning: {}", warningString));
}

void PhysicsDebugDrawer::draw3dText(const btVector3&, const char*)
{
}

void PhysicsDebugDrawer::setDebugMode(int)
{
}

int PhysicsDebugDrawer::getDebugMode() const
{
    return drawMode;
}

void PhysicsDebugDrawer::setLineList(LineList* list)
{
    lines = list;
}
