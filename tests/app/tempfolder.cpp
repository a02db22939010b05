#include "tempfolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>

TempFolder::TempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "vistado-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void TempFolder::addFile(const std::string& name, const std::string& content) const
{
    std::ofstream file(path_ + "/" + name, std::ios::binary);
    file << content;
    ASSERT_TRUE(file.good()) << name;
}

void TempFolder::addFolder(const std::string& name) const
{
    ASSERT_EQ(mkdir((path_ + "/" + name).c_str(), 0755), 0) << name;
}

std::string TempFolder::read(const std::string& name) const
{
    std::ifstream file(path_ + "/" + name, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}
