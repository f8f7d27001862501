#pragma once

#include <filesystem>
#include <functional>

// Every fsync of the test process goes through here on its way to the C
// library's, so a test can see what was flushed and when, and make a flush
// fail as a file system would. While a recorder lives, each flush is handed
// to it, by the path the descriptor names, before it reaches the disk; the
// recorder answers 0 to let it through, or an error number (EINVAL, EIO) with
// which the flush then fails without reaching the disk.
class FlushRecorder
{
public:
    explicit FlushRecorder(std::function<int(const std::filesystem::path&)> onFlush);
    ~FlushRecorder();
    FlushRecorder(const FlushRecorder&) = delete;
    FlushRecorder& operator=(const FlushRecorder&) = delete;
};
