#pragma once

#include <filesystem>
#include <optional>
#include <string>

// Every byte of a regular file; no value when it cannot be opened or read.
std::optional<std::string> readFile(const std::filesystem::path& path);
// Writes the whole content, replacing the file or appending to it.
bool writeFile(const std::filesystem::path& path, const std::string& content, bool append);
