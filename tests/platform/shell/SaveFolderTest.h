#pragma once
// A private folder for each test of the atomic writer, emptied and removed afterwards with
// the writer's test hooks put back, and small readers of what a save left there.

#include "platform/shell/AtomicFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet_test {

class SaveFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quillet-save-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override
    {
        platform::shell::setFaultFunctionForTesting(nullptr);
        platform::shell::setWriteFunctionForTesting(nullptr);
        std::error_code ignored;
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(dir, ignored);
    }

    std::string path(const std::string& name) const { return (dir / name).string(); }

    static std::string contents(const std::string& p)
    {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    static void put(const std::string& p, const std::string& bytes)
    {
        std::ofstream(p, std::ios::binary) << bytes;
    }

    static mode_t mode(const std::string& p)
    {
        struct stat st {};
        EXPECT_EQ(::stat(p.c_str(), &st), 0) << p;
        return st.st_mode & 07777;
    }

    std::filesystem::path dir;
};

} // namespace quillet_test
