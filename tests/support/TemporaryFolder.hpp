#pragma once

#include <filesystem>

// A fresh empty folder that is the working folder while the object lives;
// the game reads "Settings.txt" and its assets relative to it.
class TemporaryFolder
{
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const;

private:
    std::filesystem::path previous;
    std::filesystem::path folder;
};
