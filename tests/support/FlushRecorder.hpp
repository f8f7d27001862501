#pragma once

#include <filesystem>
#include <functional>
#include <vector>

// Every fsync of the test process goes through here on its way to the C
// library's, so a test can see what was flushed and when. While a recorder
// lives, each flush is handed to it, by the path the descriptor names, before
// it reaches the disk.
class FlushRecorder
{
public:
    explicit FlushRecorder(std::function<void(const std::filesystem::path&)> onFlush);
    ~FlushRecorder();
    FlushRecorder(const FlushRecorder&) = delete;
    FlushRecorder& operator=(const FlushRecorder&) = delete;
};
