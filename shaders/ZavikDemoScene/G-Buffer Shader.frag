#version 450

#include "Deferred.glsl"

layout(location = 0) in vec3 worldPosition;
layout(location = 1) in vec3 worldNormal;
layout(location = 2) in vec3 worldTangent;
layout(location = 3) in vec2 surfaceCoordinate;
layout(location = 4) in float viewDepth;

// Read through the renderer's trilinear sampler without anisotropy.
layout(binding = 1) uniform sampler2DArray albedoMaps;
layout(binding = 2) uniform sampler2DArray normalMaps;
// Ambient occlusion, roughness, metallic and emission in red, green, blue and alpha.
layout(binding = 3) uniform sampler2DArray armeMaps;

// The model's material. A negative base colour takes every value but the
// emission from the texture layer; otherwise the surface values hold ambient
// occlusion and roughness, and the metallic value stands alone. The surface's
// z and w move the texture coordinates.
layout(push_constant) uniform Material
{
    vec3 baseColour;
    float spare;
    vec3 emission;
    float metallic;
    vec4 surface;
    uint normalMapping;
    uint layer;
}
material;

layout(location = 0) out vec4 outMaterial;
layout(location = 1) out vec4 outNormal;
layout(location = 2) out float outDepth;
layout(location = 3) out vec4 outAlbedo;

void main()
{
    vec3 coordinate = vec3(surfaceCoordinate + material.surface.zw, float(material.layer));
    vec3 normal = normalize(worldNormal);

    vec3 albedo = material.baseColour;
    float occlusion = material.surface.x;
    float roughness = material.surface.y;
    float metallic = material.metallic;
    float emission = max(material.emission.r, max(material.emission.g, material.emission.b));
    if (any(lessThan(material.baseColour, vec3(0.0))))
    {
        albedo = texture(albedoMaps, coordinate).rgb;
        vec4 arme = texture(armeMaps, coordinate);
        occlusion = arme.r;
        roughness = arme.g;
        metallic = arme.b;
        emission += arme.a;
    }
    if (material.normalMapping != 0u)
    {
        vec3 tangent = worldTangent - normal * dot(worldTangent, normal);
        if (dot(tangent, tangent) > 1e-8)
        {
            tangent = normalize(tangent);
            vec3 mapped = texture(normalMaps, coordinate).xyz * 2.0 - 1.0;
            normal = normalize(mat3(tangent, cross(normal, tangent), normal) * mapped);
        }
    }

    outMaterial = vec4(clamp(roughness, 0.04, 1.0), clamp(metallic, 0.0, 1.0), clamp(occlusion, 0.0, 1.0),
                       clamp(emission, 0.0, 1.0));
    outNormal = vec4(normal, surfaceModel);
    outDepth = viewDepth;
    outAlbedo = vec4(clamp(albedo, 0.0, 1.0), 1.0);
}
