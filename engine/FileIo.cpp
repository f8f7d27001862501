#include "engine/FileIo.hpp"

#include <fstream>
#include <system_error>

std::optional<std::string> readFile(const std::filesystem::path& path)
{
    // A directory opens as a stream whose size query gives nonsense, and a
    // string of that size aborts the program: read regular files only.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
    {
        return std::nullopt;
    }

    std::ifstream stream(path, std::ios::binary | std::ios::ate);
    if (!stream)
    {
        return std::nullopt;
    }
    const std::streamoff size = stream.tellg();
    std::string content;
    if (size < 0 || static_cast<std::uintmax_t>(size) > content.max_size())
    {
        return std::nullopt;
    }
    stream.seekg(0, std::ios::beg);
    content.resize(static_cast<std::size_t>(size));
    stream.read(content.data(), size);
    if (!stream)
    {
        return std::nullopt;
    }
    return content;
}

bool writeFile(const std::filesystem::path& path, const std::string& content, bool append)
{
    std::ofstream stream(path, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
    if (!stream)
    {
        return false;
    }
    stream.write(content.data(), static_cast<std::streamsize>(content.size()));
    return static_cast<bool>(stream);
}
