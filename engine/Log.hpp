#pragma once

#include <string>
#include <vector>

// The one diagnostic channel. Every failure is one sentence passed to logError,
// which also raises a process-wide flag that start-up and scene switches test.
void logInfo(const std::string& message);
void logError(const std::string& message);
// Success and progress sentences; switched off, so they are built and dropped.
void logDebug(const std::string& message);
bool hasErrors();

// A sentence decided on before it is logged, so that a choice made from plain
// data can be tested for what it would print.
enum class LogLevel
{
    info,
    error,
    debug
};

struct LogLine
{
    LogLevel level;
    std::string text;

    bool operator==(const LogLine&) const = default;
};

using LogLines = std::vector<LogLine>;

void logLines(const LogLines& lines);
std::string logTimestamp();

// Tests run many cases in one process; the game itself never clears the flag.
void resetErrorFlagForTesting();
