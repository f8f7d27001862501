#include "support/TemporaryFolder.hpp"

#include <cstdlib>
#include <string>

TemporaryFolder::TemporaryFolder() : previous(std::filesystem::current_path())
{
    std::string pathTemplate = (std::filesystem::temp_directory_path() / "kelvane-test-XXXXXX").string();
    folder = mkdtemp(pathTemplate.data());
    std::filesystem::current_path(folder);
}

TemporaryFolder::~TemporaryFolder()
{
    std::filesystem::current_path(previous);
    std::error_code error;
    std::filesystem::remove_all(folder, error);
}

const std::filesystem::path& TemporaryFolder::path() const
{
    return folder;
}
