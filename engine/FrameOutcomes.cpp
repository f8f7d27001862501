#include "engine/FrameOutcomes.hpp"

AcquireOutcome acquireOutcome(VkResult result)
{
    switch (result)
    {
    case VK_SUCCESS:
        return AcquireOutcome::draw;
    case VK_SUBOPTIMAL_KHR:
        return AcquireOutcome::drawThenRebuild;
    case VK_ERROR_OUT_OF_DATE_KHR:
        return AcquireOutcome::rebuild;
    default:
        return AcquireOutcome::fail;
    }
}

PresentOutcome presentOutcome(VkResult result, bool rebuildRequested)
{
    switch (result)
    {
    case VK_SUCCESS:
        return rebuildRequested ? PresentOutcome::rebuild : PresentOutcome::advance;
    case VK_SUBOPTIMAL_KHR:
    case VK_ERROR_OUT_OF_DATE_KHR:
        return PresentOutcome::rebuild;
    default:
        return PresentOutcome::fail;
    }
}
