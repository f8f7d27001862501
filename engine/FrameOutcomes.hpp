#pragma once

#include <vulkan/vulkan.h>

// What an acquire result means for the frame. A suboptimal acquire has still
// acquired an image (and will signal its semaphore), so that frame is drawn
// and presented before the rebuild.
enum class AcquireOutcome
{
    draw,
    drawThenRebuild,
    rebuild,
    fail
};

AcquireOutcome acquireOutcome(VkResult result);

enum class PresentOutcome
{
    advance,
    rebuild,
    fail
};

// rebuildRequested: the acquire of this frame asked for a rebuild after the present.
PresentOutcome presentOutcome(VkResult result, bool rebuildRequested);
