#include "tools/assets/Parallel.hpp"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

void forEachIndex(int count, const std::function<void(int)>& work)
{
    const int threads = std::max(1, std::min(count, static_cast<int>(std::thread::hardware_concurrency())));
    std::atomic<int> next{0};
    std::vector<std::thread> workers;
    workers.reserve(static_cast<std::size_t>(threads));
    for (int thread = 0; thread < threads; ++thread)
    {
        workers.emplace_back([&] {
            for (int index = next++; index < count; index = next++)
            {
                work(index);
            }
        });
    }
    for (std::thread& worker : workers)
    {
        worker.join();
    }
}
