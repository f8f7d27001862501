#include "support/FlushRecorder.hpp"

#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace
{
std::function<int(const std::filesystem::path&)> recorder;
}

FlushRecorder::FlushRecorder(std::function<int(const std::filesystem::path&)> onFlush)
{
    recorder = std::move(onFlush);
}

FlushRecorder::~FlushRecorder()
{
    recorder = nullptr;
}

// Defined in the test program, this takes the place of the C library's fsync
// for every caller in it; the C library's own is found behind it.
extern "C" int fsync(int descriptor)
{
    if (recorder)
    {
        std::error_code error;
        const std::filesystem::path named =
            std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(descriptor), error);
        const int failure = recorder(error ? std::filesystem::path() : named);
        if (failure != 0)
        {
            errno = failure;
            return -1;
        }
    }
    using Flush = int (*)(int);
    static const auto libraryFsync = reinterpret_cast<Flush>(dlsym(RTLD_NEXT, "fsync"));
    return libraryFsync(descriptor);
}
