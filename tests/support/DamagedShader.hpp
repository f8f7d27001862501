#pragma once

#include <filesystem>

// Copies a compiled shader with its header (magic number, version, generator,
// bound, schema) and its size kept and every later word replaced by garbage,
// as a file damaged on disk would look; false when it cannot be copied.
bool writeDamagedShader(const std::filesystem::path& shader, const std::filesystem::path& copy);
