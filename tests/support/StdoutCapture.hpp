#pragma once

#include <string>
#include <vector>

// Captures everything written to standard output (printf and the logger alike)
// between construction and text().
class StdoutCapture
{
public:
    StdoutCapture();
    ~StdoutCapture();
    StdoutCapture(const StdoutCapture&) = delete;
    StdoutCapture& operator=(const StdoutCapture&) = delete;

    // Stops capturing (once) and returns what was printed.
    const std::string& text();
    std::vector<std::string> lines();
    // The lines without their time stamps.
    std::vector<std::string> messages();

private:
    void stop();

    int savedDescriptor = -1;
    std::string capturePath;
    std::string captured;
    bool stopped = false;
};

// The message of a log line, without its time stamp: "Info:  ..." or "ERROR: ...".
std::string withoutTimestamp(const std::string& line);
