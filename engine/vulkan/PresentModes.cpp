#include "engine/vulkan/PresentModes.hpp"

std::string presentModeName(PresentMode mode)
{
    switch (mode)
    {
    case presentModeImmediate:
        return "Immediate";
    case presentModeMailbox:
        return "Mailbox";
    case presentModeFifo:
        return "FIFO";
    case presentModeFifoRelaxed:
        return "Relaxed FIFO";
    default:
        return "Not supported";
    }
}
