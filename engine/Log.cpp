#include "engine/Log.hpp"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <iomanip>
#include <sstream>

namespace
{
// Set by the first error and never cleared: start-up and scene adding ask
// whether anything at all has failed.
bool errorsOccurred = false;
// Beside the flag, so that a scene switch can tell the scene's own errors
// from those logged before it.
std::size_t errorsLogged = 0;
}

std::string logTimestamp()
{
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    std::ostringstream stream;
    stream << std::put_time(&local, "%Y-%m-%d %H:%M:%S");
    return stream.str();
}

void logInfo(const std::string& message)
{
    std::printf("[%s] Info:  %s\n", logTimestamp().c_str(), message.c_str());
}

void logError(const std::string& message)
{
    std::printf("[%s] ERROR: %s\n", logTimestamp().c_str(), message.c_str());
    errorsOccurred = true;
    ++errorsLogged;
}

void logDebug(const std::string&)
{
}

void logLines(const LogLines& lines)
{
    for (const LogLine& line : lines)
    {
        switch (line.level)
        {
        case LogLevel::info:
            logInfo(line.text);
            break;
        case LogLevel::error:
            logError(line.text);
            break;
        case LogLevel::debug:
            logDebug(line.text);
            break;
        }
    }
}

bool hasErrors()
{
    return errorsOccurred;
}

std::size_t errorCount()
{
    return errorsLogged;
}

void resetErrorFlagForTesting()
{
    errorsOccurred = false;
    errorsLogged = 0;
}
