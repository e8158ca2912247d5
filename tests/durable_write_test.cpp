// SPDX-License-Identifier: GPL-3.0-or-later
// Files replaced through a flushed temporary file and a rename: what stays
// of the file they replace (its link, its permissions, its refusal to be
// written).

#include <gtest/gtest.h>

#include <filesystem>

#include "catalogue/core/Error.h"
#include "catalogue/core/FileIO.h"
#include "tests/AnotherUser.h"
#include "tests/FakePlatform.h"

namespace zorbinta {
namespace {

namespace fs = std::filesystem;

class DurableWriteTest : public ::testing::Test {
protected:
    testing::ProgramFolder folder;
};

TEST_F(DurableWriteTest, ReplacesTheFileAsAnInPlaceWriteWould) {
    const std::string config = folder.path("templ/config.txt");
    fs::permissions(config, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // A temporary name planted as a link must not lead the write elsewhere.
    writeFileBytes(folder.path("other"), "keep");
    fs::create_symlink(folder.path("other"), config + ".tmp");
    writeFileDurably(config, "1");
    EXPECT_EQ(folder.read("templ/config.txt"), "1");
    EXPECT_EQ(folder.read("other"), "keep");
    EXPECT_FALSE(fs::exists(fs::symlink_status(config + ".tmp")));
    EXPECT_EQ(fs::status(config).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // Through a link, the link stays and its target changes.
    fs::create_symlink(folder.path("other"), folder.path("link"));
    writeFileDurably(folder.path("link"), "new");
    EXPECT_TRUE(fs::is_symlink(folder.path("link")));
    EXPECT_EQ(folder.read("other"), "new");
}

// A rename could replace a file its user may not write; the write must still
// fail. Root writes through permissions, so the check runs as another user.
TEST_F(DurableWriteTest, AReadOnlyFileStaysReadOnly) {
    const std::string config = folder.path("templ/config.txt");
    fs::permissions(folder.dir / "templ", fs::perms::all);
    fs::permissions(config, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string outcome = testing::asAnotherUser([&config] {
        try {
            writeFileDurably(config, "1");
        } catch (const Error& e) {
            return std::string(e.what());
        }
        return std::string("written");
    });
    if (outcome == "no other user") GTEST_SKIP() << "cannot change to another user";
    EXPECT_EQ(outcome, "File access denied");
    EXPECT_EQ(folder.read("templ/config.txt"), "0");
    EXPECT_FALSE(fs::exists(config + ".tmp"));
}

}  // namespace
}  // namespace zorbinta
