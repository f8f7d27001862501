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

namespace
{
// A failed write or close (a full disk, a lost network folder) leaves the
// stream failed; closing by hand is the only way to hear about the close.
bool writeAndClose(std::ofstream& stream, std::string_view content)
{
    stream.write(content.data(), static_cast<std::streamsize>(content.size()));
    stream.close();
    return !stream.fail();
}

std::filesystem::path replacementPath(const std::filesystem::path& path)
{
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    return temporary;
}
}

bool writeFile(const std::filesystem::path& path, const std::string& content, bool append)
{
    std::ofstream stream(path, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
    if (!stream)
    {
        return false;
    }
    return writeAndClose(stream, content);
}

bool replaceFile(const std::filesystem::path& path, std::string_view content)
{
    const std::filesystem::path temporary = replacementPath(path);
    std::ofstream stream(temporary, std::ios::binary | std::ios::trunc);
    // Not opened: whatever lies at the temporary path is not ours to remove.
    if (!stream)
    {
        return false;
    }
    std::error_code error;
    if (writeAndClose(stream, content))
    {
        std::filesystem::rename(temporary, path, error);
        if (!error)
        {
            return true;
        }
    }
    std::filesystem::remove(temporary, error);
    return false;
}
