#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/AtomicFile.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::span<const uint8_t> bytes(const std::string& s) { return {reinterpret_cast<const uint8_t*>(s.data()), s.size()}; }

TEST(AtomicFile, ReplacesOnlyWhenComplete) {
    const std::string dir = test::tempFolder();
    const std::string target = dir + "/list.LPX";
    ASSERT_TRUE(writeFileAtomically(target, bytes("old contents")));
    ::chmod(target.c_str(), 0640);
    {
        AtomicFileWriter w(target);
        ASSERT_TRUE(w.open());
        ASSERT_TRUE(w.file().writeAt(0, bytes("half a new")));
        // Dropped before commit: as if the program failed mid-way.
    }
    EXPECT_EQ(contents(target), "old contents");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);  // no temporary left behind

    AtomicFileWriter w(target);
    ASSERT_TRUE(w.open());
    ASSERT_TRUE(w.file().writeAt(0, bytes("new contents")));
    ASSERT_TRUE(w.commit());
    EXPECT_EQ(contents(target), "new contents");
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(AtomicFile, UnwritableFolderFailsAndKeepsNothing) {
    EXPECT_FALSE(writeFileAtomically("/nonexistent-folder/x.LPX", bytes("x")));
    EXPECT_FALSE(std::filesystem::exists("/nonexistent-folder"));
}

}  // namespace
}  // namespace lumipage
