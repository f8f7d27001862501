#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Every byte of a regular file; no value when it cannot be opened or read.
std::optional<std::string> readFile(const std::filesystem::path& path);
// Writes the whole content, replacing the file or appending to it; true only
// when every byte reached the file and it closed without an error.
bool writeFile(const std::filesystem::path& path, const std::string& content, bool append);
// Puts the whole content at the path so that the path holds either its earlier
// file untouched or the new content complete, also after a crash or a power
// cut: the content goes to a temporary file beside it, which is flushed to the
// disk, closed and checked before it is renamed over the path, and the folder
// is flushed after the rename. A failure leaves no temporary file behind; a
// failure to flush the folder after the rename is reported though the new
// content stands at the path, unless the file system cannot flush folders.
bool replaceFile(const std::filesystem::path& path, std::string_view content);
