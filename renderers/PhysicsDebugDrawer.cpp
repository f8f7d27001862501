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
    if (lineVertices == nullptr || count + 2 > maxVertices)
    {
        return;
    }
    const glm::vec3 colour = toGlm(color);
    lineVertices[count++] = {toGlm(from), colour};
    lineVertices[count++] = {toGlm(to), colour};
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

void PhysicsDebugDrawer::beginLines(LineVertex* vertices, std::size_t vertexLimit)
{
    lineVertices = vertices;
    maxVertices = vertices == nullptr ? 0 : vertexLimit;
    count = 0;
}

std::size_t PhysicsDebugDrawer::vertexCount() const
{
    return count;
}
