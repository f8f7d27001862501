#include "tools/assets/Brdf.hpp"

#include "tools/assets/Parallel.hpp"

#include <glm/geometric.hpp>
#include <glm/vec3.hpp>

#include <cmath>
#include <numbers>

namespace
{
// The low-discrepancy point set that spreads the samples evenly.
glm::vec2 hammersley(std::uint32_t index, std::uint32_t count)
{
    std::uint32_t bits = index;
    bits = (bits << 16U) | (bits >> 16U);
    bits = ((bits & 0x55555555U) << 1U) | ((bits & 0xAAAAAAAAU) >> 1U);
    bits = ((bits & 0x33333333U) << 2U) | ((bits & 0xCCCCCCCCU) >> 2U);
    bits = ((bits & 0x0F0F0F0FU) << 4U) | ((bits & 0xF0F0F0F0U) >> 4U);
    bits = ((bits & 0x00FF00FFU) << 8U) | ((bits & 0xFF00FF00U) >> 8U);
    return glm::vec2(static_cast<float>(index) / static_cast<float>(count),
                     static_cast<float>(bits) * 2.3283064365386963e-10f);
}

// A half vector about the normal (0, 0, 1) distributed as GGX of `roughness`.
glm::vec3 sampleGgx(glm::vec2 unit, float roughness)
{
    const float alpha = roughness * roughness;
    const float phi = 2.0f * std::numbers::pi_v<float> * unit.x;
    const float cosTheta = std::sqrt((1.0f - unit.y) / (1.0f + (alpha * alpha - 1.0f) * unit.y));
    const float sinTheta = std::sqrt(1.0f - cosTheta * cosTheta);
    return glm::vec3(std::cos(phi) * sinTheta, std::sin(phi) * sinTheta, cosTheta);
}

// Smith's shadowing with Schlick's GGX term at the image-based k = alpha / 2.
float geometrySmith(float normalDotView, float normalDotLight, float roughness)
{
    const float k = roughness * roughness / 2.0f;
    const float view = normalDotView / (normalDotView * (1.0f - k) + k);
    const float light = normalDotLight / (normalDotLight * (1.0f - k) + k);
    return view * light;
}
} // namespace

glm::vec2 integrateBrdf(float normalDotView, float roughness, int sampleCount)
{
    const glm::vec3 view(std::sqrt(1.0f - normalDotView * normalDotView), 0.0f, normalDotView);
    float scale = 0.0f;
    float bias = 0.0f;
    const auto count = static_cast<std::uint32_t>(sampleCount);
    for (std::uint32_t index = 0; index < count; ++index)
    {
        const glm::vec3 halfway = sampleGgx(hammersley(index, count), roughness);
        const float viewDotHalf = glm::dot(view, halfway);
        const glm::vec3 light = 2.0f * viewDotHalf * halfway - view;
        const float normalDotLight = light.z;
        const float normalDotHalf = halfway.z;
        if (normalDotLight <= 0.0f || viewDotHalf <= 0.0f)
        {
            continue;
        }
        const float visibility =
            geometrySmith(normalDotView, normalDotLight, roughness) * viewDotHalf / (normalDotHalf * normalDotView);
        const float fresnel = std::pow(1.0f - viewDotHalf, 5.0f);
        scale += (1.0f - fresnel) * visibility;
        bias += fresnel * visibility;
    }
    return glm::vec2(scale, bias) / static_cast<float>(sampleCount);
}

std::vector<std::uint8_t> brdfLookupTable(int size, int sampleCount)
{
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size * size * 4));
    forEachIndex(size, [&](int row) {
        const float roughness = (static_cast<float>(row) + 0.5f) / static_cast<float>(size);
        for (int column = 0; column < size; ++column)
        {
            const float normalDotView = (static_cast<float>(column) + 0.5f) / static_cast<float>(size);
            const glm::vec2 value = integrateBrdf(normalDotView, roughness, sampleCount);
            std::uint8_t* texel = &bytes[static_cast<std::size_t>((row * size + column) * 4)];
            texel[0] = static_cast<std::uint8_t>(std::lround(glm::clamp(value.x, 0.0f, 1.0f) * 255.0f));
            texel[1] = static_cast<std::uint8_t>(std::lround(glm::clamp(value.y, 0.0f, 1.0f) * 255.0f));
            texel[2] = 0;
            texel[3] = 255;
        }
    });
    return bytes;
}
