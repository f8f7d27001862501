#include "engine/FileIo.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
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

// Every byte, across short writes and interruptions; false on the first error.
bool writeAll(int file, std::string_view content)
{
    while (!content.empty())
    {
        const ssize_t written = ::write(file, content.data(), content.size());
        if (written < 0)
        {
            if (errno == EINTR)
            {
                continue;
            }
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool syncFolder(const std::filesystem::path& folder)
{
    const std::filesystem::path opened = folder.empty() ? std::filesystem::path(".") : folder;
    const int descriptor = ::open(opened.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
    {
        return false;
    }
    // Some network and user-space file systems cannot flush a folder and
    // answer so; the rename stands there all the same, and that is no failure.
    const bool synced = ::fsync(descriptor) == 0 || errno == EINVAL || errno == ENOTSUP;
    return ::close(descriptor) == 0 && synced;
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
    const int file = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    // Not opened: whatever lies at the temporary path is not ours to remove.
    if (file < 0)
    {
        return false;
    }
    // The rename may reach the disk before the data on file systems that do
    // not order the two: a power cut just after it would leave an empty or
    // partial file where the earlier one was. The data goes first.
    const bool written = writeAll(file, content) && ::fsync(file) == 0;
    const bool closed = ::close(file) == 0;
    std::error_code error;
    if (written && closed)
    {
        std::filesystem::rename(temporary, path, error);
        if (!error)
        {
            // The rename itself lives in the folder, which is flushed after it.
            return syncFolder(path.parent_path());
        }
    }
    std::filesystem::remove(temporary, error);
    return false;
}
