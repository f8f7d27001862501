#version 450

#include "Deferred.glsl"

// The physically based composite: the sun with its shadow, image-based
// ambient light (diffuse from the irradiance coefficients, specular from the
// environment's mip chain and the BRDF table) darkened by the ambient
// occlusion, the point lights, emission and the far course's haze; the sky,
// with the sun's disc in the open, where nothing was drawn. The second output
// keeps what is bright enough to bloom: the sun, its glint and glowing lava,
// not a sunlit wall.
layout(location = 0) in vec2 uv;

// The G-buffer and the point lights through a nearest sampler: the texel
// under the pixel, cheaper on a software driver than a fetch.
layout(binding = 0) uniform sampler2D materials;
layout(binding = 1) uniform sampler2D normals;
layout(binding = 2) uniform sampler2D depths;
layout(binding = 3) uniform sampler2D albedos;
layout(binding = 4) uniform sampler2D ambientOcclusion;
layout(binding = 5) uniform sampler2D pointLights;
layout(binding = 6) uniform sampler2D shadowMap;
layout(binding = 7) uniform samplerCube environment;
// Scale and bias of the specular reflectance by (normal . view, roughness).
layout(binding = 8) uniform sampler2D brdfLookup;
layout(binding = 9) uniform SphericalHarmonicsBlock
{
    vec4 coefficients[9];
}
irradianceCoefficients;
layout(binding = 10) uniform LightBlock
{
    mat4 viewProjection;
}
sun;
layout(binding = 11) uniform CameraBlock
{
    Camera camera;
};

layout(push_constant) uniform Composite
{
    vec4 lightDirection;
    vec4 lightColour;
    float hazeDistance;
    int renderMode;
    uint introFlag;
    uint oceanDisabled;
}
composite;

layout(location = 0) out vec4 outColour;
layout(location = 1) out vec4 outBloom;

const int viewCount = 9;
const float bloomThreshold = 2.0;
const float emissionStrength = 4.0;

// The diffuse irradiance from the coefficients towards two directions at
// once: the surface's normal and, for the haze, the view ray. Each
// coefficient is read once for both, which halves the uniform reads a
// software driver checks one by one.
void irradianceTowards(vec3 n, vec3 m, out vec3 towardsN, out vec3 towardsM)
{
    vec3 sumN = vec3(0.0);
    vec3 sumM = vec3(0.0);
    vec3 c = irradianceCoefficients.coefficients[0].rgb * 0.282095;
    sumN += c;
    sumM += c;
    c = irradianceCoefficients.coefficients[1].rgb * 0.488603;
    sumN += c * n.y;
    sumM += c * m.y;
    c = irradianceCoefficients.coefficients[2].rgb * 0.488603;
    sumN += c * n.z;
    sumM += c * m.z;
    c = irradianceCoefficients.coefficients[3].rgb * 0.488603;
    sumN += c * n.x;
    sumM += c * m.x;
    c = irradianceCoefficients.coefficients[4].rgb * 1.092548;
    sumN += c * (n.x * n.y);
    sumM += c * (m.x * m.y);
    c = irradianceCoefficients.coefficients[5].rgb * 1.092548;
    sumN += c * (n.y * n.z);
    sumM += c * (m.y * m.z);
    c = irradianceCoefficients.coefficients[6].rgb * 0.315392;
    sumN += c * (3.0 * n.z * n.z - 1.0);
    sumM += c * (3.0 * m.z * m.z - 1.0);
    c = irradianceCoefficients.coefficients[7].rgb * 1.092548;
    sumN += c * (n.x * n.z);
    sumM += c * (m.x * m.z);
    c = irradianceCoefficients.coefficients[8].rgb * 0.546274;
    sumN += c * (n.x * n.x - n.y * n.y);
    sumM += c * (m.x * m.x - m.y * m.y);
    towardsN = max(sumN, vec3(0.0));
    towardsM = max(sumM, vec3(0.0));
}

// 1 lit, 0 in shadow, softened over the four texels around the receiver's
// place in the map, read in one gather (the map's sampler clamps to its
// edge). The receiver is moved off its surface and compared with a bias that
// grow with the size of a shadow-map texel on it, which keeps a surface from
// shadowing itself.
float sunlight(vec3 position, vec3 normal, vec3 towardsSun)
{
    mat4 matrix = sun.viewProjection;
    ivec2 size = textureSize(shadowMap, 0);
    vec2 unitsPerTexel = 2.0 / (vec2(length(vec3(matrix[0][0], matrix[1][0], matrix[2][0])),
                                     length(vec3(matrix[0][1], matrix[1][1], matrix[2][1]))) *
                                vec2(size));
    float texelUnits = max(unitsPerTexel.x, unitsPerTexel.y);
    float depthPerUnit = length(vec3(matrix[0][2], matrix[1][2], matrix[2][2]));
    float cosine = clamp(dot(normal, towardsSun), 0.05, 1.0);
    float slope = min(sqrt(1.0 - cosine * cosine) / cosine, 4.0);

    vec4 projected = matrix * vec4(position + normal * texelUnits, 1.0);
    vec3 point = projected.xyz / projected.w;
    vec2 coordinate = point.xy * 0.5 + 0.5;
    if (any(lessThan(coordinate, vec2(0.0))) || any(greaterThan(coordinate, vec2(1.0))) || point.z <= 0.0 ||
        point.z >= 1.0)
    {
        return 1.0;
    }
    float bias = 0.001 + depthPerUnit * texelUnits * (0.5 + 1.5 * slope);
    vec4 occluders = 1.0 - textureGather(shadowMap, coordinate, 0);
    return dot(step(vec4(point.z - bias), occluders), vec4(0.25));
}

// The sun's disc and the bright ring close round it over the sky `behind`:
// the race's sun turns with the race clock, so it is drawn where the light
// comes from rather than painted into the sky. A cloud (as grey as it is
// blue, where the clear sky is far bluer than red) veils it. exp stands in
// for a high power of the cosine.
vec3 sunInSky(vec3 ray, vec3 towardsSun, vec3 radiance, vec3 behind)
{
    float cosine = dot(ray, towardsSun);
    float disc = smoothstep(0.99975, 0.99982, cosine);
    float aureole = exp((cosine - 1.0) * 300.0);
    float clear = clamp(1.4 - 1.6 * behind.r / max(behind.b, 1e-3), 0.25, 1.0);
    return radiance * (disc * 12.0 + aureole * 0.5) * clear;
}

void main()
{
    vec3 farRay = viewRay(camera, uv);
    vec3 ray = normalize(farRay);
    vec4 normalAndKind = texture(normals, uv);
    float depth = texture(depths, uv).r;
    int view = ((composite.renderMode % viewCount) + viewCount) % viewCount;
    vec3 radiance = composite.lightColour.rgb * composite.lightColour.w;
    vec3 towardsSun = length(composite.lightDirection.xyz) > 0.0 ? normalize(-composite.lightDirection.xyz)
                                                                 : vec3(0.0, 1.0, 0.0);

    // The sky where nothing was drawn, and a surface's reflection of it, come
    // from one read of the environment: a software driver runs both sides of a
    // branch, so two reads would cost every pixel twice.
    bool sky = normalAndKind.w < 0.5 || depth <= 0.0;
    vec3 normal = normalize(normalAndKind.xyz);
    vec4 material = texture(materials, uv);
    float roughness = material.r;
    float levels = float(textureQueryLevels(environment));
    // The ocean's ripples are finer than its normal maps: its mirror image of
    // the clouds is blurred as they would break it up.
    float rippleBlur = normalAndKind.w > 1.5 ? 1.5 : 0.0;
    vec3 seen = textureLod(environment, sky ? ray : reflect(ray, normal),
                           sky ? 0.0 : roughness * (levels - 1.0) + rippleBlur).rgb;

    vec3 colour;
    if (sky)
    {
        // Indoors, where there is no ocean, there is no sun to see either.
        vec3 sun = composite.oceanDisabled == 0u ? sunInSky(ray, towardsSun, radiance, seen) : vec3(0.0);
        colour = view == 0 ? seen + sun : vec3(0.0);
    }
    else
    {
        vec3 albedo = texture(albedos, uv).rgb;
        float metallic = material.g;
        float openness = texture(ambientOcclusion, uv).r;
        float occlusion = material.b * openness;
        vec3 position = positionAlong(camera, farRay, depth);
        vec3 toViewer = -ray;
        float normalDotView = max(dot(normal, toViewer), 0.0);

        float lit = sunlight(position, normal, towardsSun);
        vec3 direct = cookTorrance(normal, toViewer, towardsSun, albedo, metallic, roughness, radiance) * lit;

        vec3 fresnel = fresnelSchlickRoughness(normalDotView, baseReflectance(albedo, metallic), roughness);
        vec3 surfaceIrradiance;
        vec3 skyIrradiance;
        irradianceTowards(normal, ray, surfaceIrradiance, skyIrradiance);
        vec3 diffuse = (1.0 - fresnel) * (1.0 - metallic) * albedo * surfaceIrradiance / PI;
        vec2 scaleAndBias = texture(brdfLookup, vec2(normalDotView, roughness)).rg;
        vec3 specular = seen * (fresnel * scaleAndBias.x + scaleAndBias.y);
        vec3 ambient = (diffuse + specular) * occlusion;

        vec3 points = texture(pointLights, uv).rgb;
        vec3 emitted = albedo * material.a * emissionStrength;
        colour = direct + ambient + points + emitted;
        if (composite.oceanDisabled == 0u && normalAndKind.w > 1.5)
        {
            colour += vec3(0.0, 0.018, 0.016) * composite.lightColour.w * lit * (0.5 + 0.5 * dot(normal, towardsSun));
        }
        // The haze is the air between the eye and the surface: none over the
        // near course, thickening from half the haze distance on, so that only
        // the far course fades towards the sky. The intro looks at the planet
        // from space, through none.
        float farness = max(depth / composite.hazeDistance - 0.5, 0.0);
        float haze = composite.introFlag != 0u ? 0.0 : 1.0 - exp(-2.0 * farness * farness);
        colour = mix(colour, skyIrradiance / PI, haze * 0.5);

        if (view == 1)
        {
            colour = albedo;
        }
        else if (view == 2)
        {
            colour = normal * 0.5 + 0.5;
        }
        else if (view == 3)
        {
            colour = material.rgb;
        }
        else if (view == 4)
        {
            colour = vec3(clamp(depth / composite.hazeDistance, 0.0, 1.0));
        }
        else if (view == 5)
        {
            colour = vec3(openness);
        }
        else if (view == 6)
        {
            colour = points;
        }
        else if (view == 7)
        {
            colour = vec3(lit * max(dot(normal, towardsSun), 0.0));
        }
        else if (view == 8)
        {
            colour = ambient;
        }
    }

    // One bad texel would spread over the picture through the blur.
    if (any(isnan(colour)) || any(isinf(colour)))
    {
        colour = vec3(0.0);
    }
    colour = min(colour, vec3(64.0));
    if (composite.introFlag != 0u && abs(uv.y - 0.5) > 0.4)
    {
        colour = vec3(0.0);
    }
    outColour = vec4(colour, 1.0);
    outBloom = vec4(view == 0 ? max(colour - bloomThreshold, 0.0) * 0.25 : vec3(0.0), 1.0);
}
