#pragma once

#include <string>

// The one diagnostic channel. Every failure is one sentence passed to logError,
// which also raises a process-wide flag that start-up and scene switches test.
void logInfo(const std::string& message);
void logError(const std::string& message);
// Success and progress sentences; switched off, so they are built and dropped.
void logDebug(const std::string& message);
bool hasErrors();
std::string logTimestamp();

// Tests run many cases in one process; the game itself never clears the flag.
void resetErrorFlagForTesting();
