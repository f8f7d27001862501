#pragma once

#include <functional>

// Runs `work` for 0 ... count - 1 on every core. Each call must write only
// what belongs to its own index, which keeps the result independent of the
// order the calls run in.
void forEachIndex(int count, const std::function<void(int)>& work);
