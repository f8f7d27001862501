#include "support/StdoutCapture.hpp"

#include "engine/FileIo.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
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
    std::istringstream stream(text());
    for (std::string line; std::getline(stream, line);)
    {
        result.push_back(line);
    }
    return result;
}

std::vector<std::string> StdoutCapture::messages()
{
    std::vector<std::string> result = lines();
    std::transform(result.begin(), result.end(), result.begin(), withoutTimestamp);
    return result;
}

std::string withoutTimestamp(const std::string& line)
{
    const std::size_t close = line.find("] ");
    return close == std::string::npos ? line : line.substr(close + 2);
}
