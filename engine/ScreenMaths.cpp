#include "engine/ScreenMaths.hpp"

#include "engine/Settings.hpp"

#include <glm/gtc/matrix_transform.hpp>

glm::mat4 screenProjection()
{
    const float width = static_cast<float>(Settings::getWindowWidth());
    const float height = static_cast<float>(Settings::getWindowHeight());
    const glm::mat4 ortho(glm::vec4(2.0f / width, 0.0f, 0.0f, 0.0f), glm::vec4(0.0f, 2.0f / height, 0.0f, 0.0f),
                          glm::vec4(0.0f, 0.0f, -1.0f, 0.0f), glm::vec4(-1.0f, -1.0f, 0.0f, 1.0f));
    const glm::mat4 shift = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, -1.0f));
    return ortho * shift;
}

glm::quat quaternionFromEulerDegrees(float a, float b, float c)
{
    constexpr float degreesToRadians = 0.017453292f;
    return glm::angleAxis(c * degreesToRadians, glm::vec3(0.0f, 1.0f, 0.0f)) *
           glm::angleAxis(-b * degreesToRadians, glm::vec3(0.0f, 0.0f, 1.0f)) *
           glm::angleAxis(a * degreesToRadians, glm::vec3(1.0f, 0.0f, 0.0f));
}

std::u32string toUtf32(const std::string& text)
{
    constexpr char32_t replacement = U'\uFFFD';
    std::u32string result;
    result.reserve(text.size());
    std::size_t position = 0;
    while (position < text.size())
    {
        const auto lead = static_cast<unsigned char>(text[position++]);
        if (lead < 0x80)
        {
            result.push_back(lead);
            continue;
        }

        // The lead byte fixes the length and the range of the first
        // continuation byte, which rules out overlong forms, surrogates and
        // values above U+10FFFF before they are decoded.
        std::size_t continuationCount = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        char32_t codePoint = 0;
        if (lead >= 0xC2 && lead <= 0xDF)
        {
            continuationCount = 1;
            codePoint = lead & 0x1F;
        }
        else if (lead >= 0xE0 && lead <= 0xEF)
        {
            continuationCount = 2;
            codePoint = lead & 0x0F;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        }
        else if (lead >= 0xF0 && lead <= 0xF4)
        {
            continuationCount = 3;
            codePoint = lead & 0x07;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        }
        else
        {
            result.push_back(replacement);
            continue;
        }

        bool valid = true;
        for (std::size_t i = 0; i < continuationCount; ++i)
        {
            if (position >= text.size())
            {
                valid = false;
                break;
            }
            const auto byte = static_cast<unsigned char>(text[position]);
            if (byte < low || byte > high)
            {
                // The offending byte starts the next sequence.
                valid = false;
                break;
            }
            codePoint = (codePoint << 6) | (byte & 0x3F);
            ++position;
            low = 0x80;
            high = 0xBF;
        }
        result.push_back(valid ? codePoint : replacement);
    }
    return result;
}
