#include "graphics/ObjLoader.hpp"

#include "engine/FileIo.hpp"
#include "engine/Log.hpp"

#include <glm/geometric.hpp>

#include <cfloat>
#include <charconv>
#include <cmath>
#include <fmt/format.h>
#include <span>
#include <system_error>
#include <unordered_map>

namespace
{
// A corner key holds each of its three indices in 21 bits; an index beyond
// that would make distinct corners share one vertex.
constexpr std::uint32_t indexBits = 21;
constexpr std::uint64_t indexMask = (std::uint64_t{1} << indexBits) - 1;

// Calls visit on every piece between single separators (no trimming, so two
// separators in a row give an empty piece) until it returns false.
template <typename Visit>
bool forEachPiece(std::string_view text, char separator, Visit visit)
{
    while (true)
    {
        const std::size_t end = text.find(separator);
        if (!visit(text.substr(0, end)))
        {
            return false;
        }
        if (end == std::string_view::npos)
        {
            return true;
        }
        text.remove_prefix(end + 1);
    }
}

// Every token must start with a number; what follows it inside the token (a
// carriage return) is ignored, and numbers beyond the record are dropped.
bool parseObjNumbers(std::string_view text, std::span<float> numbers)
{
    std::size_t count = 0;
    return forEachPiece(text, ' ', [&](std::string_view token) {
        float value = 0.0f;
        if (std::from_chars(token.data(), token.data() + token.size(), value).ec != std::errc{})
        {
            return false;
        }
        if (count < numbers.size())
        {
            numbers[count] = value;
        }
        ++count;
        return true;
    });
}

std::optional<std::uint32_t> parseFaceIndex(std::string_view component)
{
    if (component.empty() || component.front() < '0' || component.front() > '9')
    {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    if (std::from_chars(component.data(), component.data() + component.size(), value).ec != std::errc{})
    {
        return std::nullopt;
    }
    // OBJ counts from 1; a 0 wraps to an index that no list reaches.
    return value - 1;
}

std::string_view textAfter(std::string_view line, std::size_t prefixLength)
{
    return line.size() > prefixLength ? line.substr(prefixLength) : std::string_view{};
}

ObjMeshData failure(const std::string& sentence)
{
    logError(sentence);
    return {};
}
}

ObjMeshData loadObj(const std::string& path)
{
    const std::optional<std::string> text = readFile(path);
    if (!text)
    {
        return failure(fmt::format("OBJ file \"{}\" could not be read.", path));
    }
    return parseObj(*text, path);
}

ObjMeshData parseObj(std::string_view text, const std::string& path)
{
    std::vector<glm::vec3> positions;
    std::vector<glm::vec2> texCoords;
    std::vector<glm::vec3> normals;
    std::vector<ObjFace> faces;

    while (!text.empty())
    {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty())
        {
            continue;
        }

        if (line.front() == 'f')
        {
            const ObjFace face = parseObjFace(textAfter(line, 2));
            if (!face.ok)
            {
                return failure(fmt::format("OBJ file \"{}\" has failed in vertex face obtaining.", path));
            }
            faces.push_back(face);
        }
        else if (line.starts_with("v "))
        {
            const std::optional<glm::vec3> position = parseObjVec3(textAfter(line, 2));
            if (!position)
            {
                return failure(fmt::format("OBJ file \"{}\" loading has failed in vertex position obtaining.", path));
            }
            positions.push_back(*position);
        }
        else if (line.starts_with("vn"))
        {
            const std::optional<glm::vec3> normal = parseObjVec3(textAfter(line, 3));
            if (!normal)
            {
                return failure(fmt::format("OBJ file \"{}\" loading has failed in vertex normal obtaining.", path));
            }
            normals.push_back(*normal);
        }
        else if (line.starts_with("vt"))
        {
            float uv[2] = {0.0f, 0.0f};
            if (!parseObjNumbers(textAfter(line, 3), uv))
            {
                return failure(fmt::format("OBJ file \"{}\" loading has failed in vertex uv obtaining.", path));
            }
            texCoords.emplace_back(uv[0], 1.0f - uv[1]);
        }
    }

    ObjMeshData mesh;
    mesh.indices.reserve(faces.size() * 3);
    std::unordered_map<std::uint64_t, std::uint32_t> vertexOfCorner;
    for (const ObjFace& face : faces)
    {
        for (std::size_t corner = 0; corner < 3; ++corner)
        {
            const std::uint32_t position = face.indices[3 * corner];
            const std::uint32_t texCoord = face.indices[3 * corner + 1];
            const std::uint32_t normal = face.indices[3 * corner + 2];
            // A left-out component names entry 0, which an empty list lacks.
            if (position >= positions.size() || texCoord >= texCoords.size() || normal >= normals.size() ||
                position > indexMask || texCoord > indexMask || normal > indexMask)
            {
                return failure(fmt::format("OBJ file \"{}\" has failed in vertex face obtaining.", path));
            }
            const std::uint64_t key = (std::uint64_t{position} << (2 * indexBits)) |
                                      (std::uint64_t{texCoord} << indexBits) | std::uint64_t{normal};
            const auto [entry, added] =
                vertexOfCorner.try_emplace(key, static_cast<std::uint32_t>(mesh.vertices.size()));
            if (added)
            {
                mesh.vertices.push_back(
                    ModelVertex{positions[position], texCoords[texCoord], normals[normal], glm::vec3(0.0f)});
            }
            mesh.indices.push_back(entry->second);
        }
    }

    computeTangents(mesh.vertices, mesh.indices);
    mesh.valid = true;
    return mesh;
}

std::optional<glm::vec3> parseObjVec3(std::string_view text)
{
    float numbers[3] = {0.0f, 0.0f, 0.0f};
    if (!parseObjNumbers(text, numbers))
    {
        return std::nullopt;
    }
    return glm::vec3(numbers[0], numbers[1], numbers[2]);
}

ObjFace parseObjFace(std::string_view text)
{
    ObjFace face;
    std::size_t groups = 0;
    const bool parsed = forEachPiece(text, ' ', [&](std::string_view group) {
        // Only triangles are read: a fourth corner group fails the face.
        if (groups == 3)
        {
            return false;
        }
        std::size_t components = 0;
        const bool groupParsed = forEachPiece(group, '/', [&](std::string_view component) {
            if (components == 3)
            {
                return false;
            }
            const std::optional<std::uint32_t> index = parseFaceIndex(component);
            if (!index)
            {
                return false;
            }
            face.indices[3 * groups + components] = *index;
            ++components;
            return true;
        });
        ++groups;
        return groupParsed;
    });
    face.ok = parsed && groups == 3;
    return face;
}

void computeTangents(std::vector<ModelVertex>& vertices, const std::vector<std::uint32_t>& indices)
{
    for (std::size_t first = 0; first + 2 < indices.size(); first += 3)
    {
        const std::uint32_t a = indices[first];
        const std::uint32_t b = indices[first + 1];
        const std::uint32_t c = indices[first + 2];
        if (a >= vertices.size() || b >= vertices.size() || c >= vertices.size())
        {
            continue;
        }
        const glm::vec3 edge1 = vertices[b].position - vertices[a].position;
        const glm::vec3 edge2 = vertices[c].position - vertices[a].position;
        const float s1 = vertices[b].texCoord.x - vertices[a].texCoord.x;
        const float t1 = vertices[b].texCoord.y - vertices[a].texCoord.y;
        const float s2 = vertices[c].texCoord.x - vertices[a].texCoord.x;
        const float t2 = vertices[c].texCoord.y - vertices[a].texCoord.y;
        const float determinant = s1 * t2 - s2 * t1;
        if (std::fabs(determinant) < FLT_EPSILON)
        {
            continue;
        }
        const glm::vec3 tangent = (edge1 * t2 - edge2 * t1) * (1.0f / determinant);
        vertices[a].tangent += tangent;
        vertices[b].tangent += tangent;
        vertices[c].tangent += tangent;
    }

    for (ModelVertex& vertex : vertices)
    {
        // The length is judged after the normal's share is removed: a tangent
        // along the normal would otherwise be divided by zero into NaN.
        const glm::vec3 orthogonal = vertex.tangent - vertex.normal * glm::dot(vertex.normal, vertex.tangent);
        const float squaredLength = glm::dot(orthogonal, orthogonal);
        if (squaredLength >= FLT_EPSILON && squaredLength <= FLT_MAX)
        {
            vertex.tangent = orthogonal * (1.0f / std::sqrt(squaredLength));
        }
        else
        {
            vertex.tangent = glm::vec3(0.0f);
        }
    }
}
