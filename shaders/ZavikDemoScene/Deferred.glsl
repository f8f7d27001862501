// Shared by the deferred passes: the G-buffer's layout, the camera block and
// the physically based lighting terms.
//
// G-buffer:
//   material (RGBA8): roughness, metallic, ambient occlusion, emission
//   normal (RGBA16F): world-space normal, surface kind (0 nothing, 1 model, 2 ocean)
//   depth (R16F): distance along the camera's view axis, 0 where nothing was drawn
//   albedo (RGBA8 sRGB): base colour

const float PI = 3.14159265;
const float surfaceModel = 1.0;
const float surfaceOcean = 2.0;

struct Camera
{
    mat4 view;
    mat4 projection;
    mat4 viewProjection;
    mat4 inverseView;
    mat4 inverseViewProjection;
};

vec3 cameraPosition(Camera camera)
{
    return camera.inverseView[3].xyz;
}

// Through the pixel at `uv` from the camera, not normalised.
vec3 viewRay(Camera camera, vec2 uv)
{
    vec4 far = camera.inverseViewProjection * vec4(uv * 2.0 - 1.0, 1.0, 1.0);
    return far.xyz / far.w - cameraPosition(camera);
}

// Where `ray` (from viewRay, any length) meets the view depth.
vec3 positionAlong(Camera camera, vec3 ray, float viewDepth)
{
    vec3 forward = -normalize(camera.inverseView[2].xyz);
    return cameraPosition(camera) + ray * (viewDepth / dot(ray, forward));
}

vec3 reconstructPosition(Camera camera, vec2 uv, float viewDepth)
{
    return positionAlong(camera, viewRay(camera, uv), viewDepth);
}

// pow(1 - cosine, 5) by multiplication: a software driver's pow is an
// exponential and a logarithm.
float fresnelWeight(float cosine)
{
    float x = clamp(1.0 - cosine, 0.0, 1.0);
    float squared = x * x;
    return squared * squared * x;
}

float distributionGgx(float normalDotHalf, float roughness)
{
    float alpha = roughness * roughness;
    float alphaSquared = alpha * alpha;
    float denominator = normalDotHalf * normalDotHalf * (alphaSquared - 1.0) + 1.0;
    return alphaSquared / (PI * denominator * denominator);
}

float geometrySchlickGgx(float cosine, float roughness)
{
    float k = (roughness + 1.0) * (roughness + 1.0) / 8.0;
    return cosine / (cosine * (1.0 - k) + k);
}

vec3 fresnelSchlick(float cosine, vec3 reflectance)
{
    return reflectance + (1.0 - reflectance) * fresnelWeight(cosine);
}

vec3 fresnelSchlickRoughness(float cosine, vec3 reflectance, float roughness)
{
    return reflectance + (max(vec3(1.0 - roughness), reflectance) - reflectance) * fresnelWeight(cosine);
}

vec3 baseReflectance(vec3 albedo, float metallic)
{
    return mix(vec3(0.04), albedo, metallic);
}

// Light arriving from `toLight` with `radiance`, reflected towards `toViewer`.
vec3 cookTorrance(vec3 normal, vec3 toViewer, vec3 toLight, vec3 albedo, float metallic, float roughness,
                  vec3 radiance)
{
    float normalDotLight = max(dot(normal, toLight), 0.0);
    if (normalDotLight <= 0.0)
    {
        return vec3(0.0);
    }
    vec3 halfway = normalize(toViewer + toLight);
    float normalDotView = max(dot(normal, toViewer), 1e-4);
    float clampedRoughness = clamp(roughness, 0.04, 1.0);
    vec3 fresnel = fresnelSchlick(max(dot(halfway, toViewer), 0.0), baseReflectance(albedo, metallic));
    float geometry =
        geometrySchlickGgx(normalDotView, clampedRoughness) * geometrySchlickGgx(normalDotLight, clampedRoughness);
    vec3 specular = distributionGgx(max(dot(normal, halfway), 0.0), clampedRoughness) * geometry * fresnel /
                    (4.0 * normalDotView * normalDotLight + 1e-4);
    vec3 diffuse = (1.0 - fresnel) * (1.0 - metallic) * albedo / PI;
    return (diffuse + specular) * radiance * normalDotLight;
}
