#include "support/FullDisk.hpp"

FullDisk::FullDisk(std::size_t bytes)
{
    getrlimit(RLIMIT_FSIZE, &previous);
    // The write then fails with an error instead of ending the process.
    previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = previous;
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    setrlimit(RLIMIT_FSIZE, &limit);
}

FullDisk::~FullDisk()
{
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
}
