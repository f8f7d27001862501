#pragma once

// The GPU time of each pass of the deferred renderer's frame, taken in the
// frames the game itself records.
#include <functional>

class DeferredRenderer;
class GraphicsSystem;

namespace benchmark
{
// Prints the GPU time of each pass of the renderer's frame and of the whole
// frame, mean and fastest, for at least `seconds` and five frames. `frame`
// records and presents one frame as the game does (a scene manager's update
// and render, say); the renderer's pass hook writes a time stamp ahead of its
// first pass and after each pass, and the timer waits for the frame before
// reading them. Prints "No time stamps." and is false when none can be taken.
bool printPassTimes(GraphicsSystem& graphicsSystem, DeferredRenderer& renderer, double seconds,
                    const std::function<void()>& frame);
}
