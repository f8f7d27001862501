#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The one diagnostic channel. Every failure is one sentence passed to logError,
// which also sets the process-wide error flag, never cleared, and counts it:
// start-up asks whether any error was logged at all, a scene switch whether
// the scene's own steps logged one.
void logInfo(const std::string& message);
void logError(const std::string& message);
// Success and progress sentences; switched off, so they are built and dropped.
void logDebug(const std::string& message);
bool hasErrors();
// The errors logged so far in the process; compared before and after a step.
std::size_t errorCount();

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

// Tests run many cases in one process; the game itself never clears the flag or the count.
void resetErrorFlagForTesting();
