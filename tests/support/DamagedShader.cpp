#include "support/DamagedShader.hpp"

#include "engine/FileIo.hpp"

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

bool writeDamagedShader(const std::filesystem::path& shader, const std::filesystem::path& copy)
{
    constexpr std::size_t headerBytes = 5 * sizeof(std::uint32_t);
    std::optional<std::string> code = readFile(shader);
    if (!code || code->size() <= headerBytes)
    {
        return false;
    }
    // The same garbage on every run.
    std::uint32_t state = 0x9e3779b9u;
    for (std::size_t offset = headerBytes; offset + sizeof(state) <= code->size(); offset += sizeof(state))
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        std::memcpy(code->data() + offset, &state, sizeof(state));
    }
    return writeFile(copy, *code, false);
}
