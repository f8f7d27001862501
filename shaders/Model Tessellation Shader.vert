#version 450

layout(location = 0) in vec3 position;
layout(location = 1) in vec2 texCoord;
layout(location = 2) in vec3 normal;
layout(location = 3) in vec3 tangent;
layout(location = 4) in mat4 model;
layout(location = 8) in mat4 normalMatrix;

layout(location = 0) out vec3 worldPosition;
layout(location = 1) out vec3 worldNormal;
layout(location = 2) out vec3 worldTangent;
layout(location = 3) out vec2 surfaceCoordinate;

void main()
{
    worldPosition = (model * vec4(position, 1.0)).xyz;
    worldNormal = normalize(mat3(normalMatrix) * normal);
    worldTangent = mat3(model) * tangent;
    surfaceCoordinate = texCoord;
}
