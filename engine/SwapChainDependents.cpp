#include "engine/SwapChainDependents.hpp"

#include <algorithm>

namespace
{
std::vector<SwapChainDependent> swapChainDependents;
}

void addSwapChainDependent(const void* owner, std::function<void()> destroyFrameBuffers,
                           std::function<bool()> createFrameBuffers)
{
    swapChainDependents.push_back({owner, std::move(destroyFrameBuffers), std::move(createFrameBuffers)});
}

void removeSwapChainDependent(const void* owner)
{
    std::erase_if(swapChainDependents, [owner](const SwapChainDependent& dependent) { return dependent.owner == owner; });
}

const std::vector<SwapChainDependent>& getSwapChainDependents()
{
    return swapChainDependents;
}
