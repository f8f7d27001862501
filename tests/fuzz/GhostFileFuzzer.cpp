#include "game/physics/GhostRecording.hpp"

#include <fmt/format.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace
{
std::string scratchPath;

void check(bool condition)
{
    if (!condition)
    {
        std::abort();
    }
}
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    scratchPath = fmt::format("/tmp/kelvane-ghost-fuzz-{}.ghost", getpid());
    // The loader reports each count it accepts; that would drown the fuzzer's own output.
    check(std::freopen("/dev/null", "w", stdout) != nullptr);
    return 0;
}

// Whatever the bytes, a load either gives a complete recording whose every frame
// came from the file and is a finite pose with a unit rotation, or leaves it
// empty; playback then stays within the samples.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    {
        std::ofstream file(scratchPath, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    GhostRecording recording(10, 15);
    const bool loaded = recording.loadFromFile(scratchPath);
    const auto count = static_cast<std::size_t>(recording.frameCount());
    check(recording.frames().size() == count);
    check(recording.isRecordingComplete() == loaded);
    if (loaded)
    {
        check(count >= 1 && count <= 150);
        check(size >= 4 + count * sizeof(GhostFrame));
        for (const GhostFrame& frame : recording.frames())
        {
            check(std::isfinite(frame.frameTime) && std::isfinite(frame.position.x) &&
                  std::isfinite(frame.position.y) && std::isfinite(frame.position.z));
            check(std::abs(glm::length(frame.rotation) - 1.0f) <= 1.0e-3f);
        }
    }
    else
    {
        check(count == 0);
    }
    for (int i = 0; i < 8 && !recording.isPlaybackFinished(); ++i)
    {
        recording.playback(0.05f);
    }
    std::remove(scratchPath.c_str());
    return 0;
}
