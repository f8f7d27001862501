#include "support/StdoutCapture.hpp"

#include "engine/FileIo.hpp"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

StdoutCapture::StdoutCapture()
{
    std::fflush(stdout);
    char pathTemplate[] = "/tmp/kelvane-stdout-XXXXXX";
    const int descriptor = mkstemp(pathTemplate);
    capturePath = pathTemplate;
    savedDescriptor = dup(STDOUT_FILENO);
    dup2(descriptor, STDOUT_FILENO);
    close(descriptor);
}

StdoutCapture::~StdoutCapture()
{
    stop();
}

void StdoutCapture::stop()
{
    if (stopped)
    {
        return;
    }
    stopped = true;
    std::fflush(stdout);
    dup2(savedDescriptor, STDOUT_FILENO);
    close(savedDescriptor);
    captured = readFile(capturePath).value_or("");
    std::filesystem::remove(capturePath);
}

const std::string& StdoutCapture::text()
{
    stop();
    return captured;
}

std::vector<std::string> StdoutCapture::lines()
{
    std::vector<std::string> result;
    const std::string& all = text();
    std::size_t start = 0;
    while (start < all.size())
    {
        const std::size_t end = all.find('\n', start);
        if (end == std::string::npos)
        {
            result.push_back(all.substr(start));
            break;
        }
        result.push_back(all.substr(start, end - start));
        start = end + 1;
    }
    return result;
}

std::string withoutTimestamp(const std::string& line)
{
    const std::size_t close = line.find("] ");
    return close == std::string::npos ? line : line.substr(close + 2);
}
