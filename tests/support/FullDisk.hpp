#pragma once

#include <sys/resource.h>

#include <csignal>
#include <cstddef>

// While it lives, no file of the process may grow past `bytes`: a write beyond
// fails as on a full disk, for root too, whom a read-only folder does not stop.
class FullDisk
{
public:
    explicit FullDisk(std::size_t bytes);
    ~FullDisk();
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

private:
    rlimit previous{};
    void (*previousHandler)(int) = SIG_DFL;
};
