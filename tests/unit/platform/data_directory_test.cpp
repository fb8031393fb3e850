#include "platform/data_directory.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/scoped_working_directory.h"

namespace fs = std::filesystem;

namespace {

class DataDirectoryTest : public ::testing::Test {
protected:
    // A program installed at <root>/install/games, started in <root>/elsewhere.
    void SetUp() override {
        fs::create_directories(program);
        fs::create_directories(started);
    }
    fs::path Choose() const {
        return ChooseDataDirectory(DataDirectoryCandidates(started, program));
    }

    ScopedWorkingDirectory directory;
    const fs::path root = fs::current_path();
    const fs::path program = root / "install" / "games";
    const fs::path started = root / "elsewhere";
    const fs::path installed = root / "install" / "share" / "games" / "skimlark";
};

TEST_F(DataDirectoryTest, PrefersTheCurrentFolderThenTheProgramsThenTheInstalledData) {
    EXPECT_EQ(Choose(), fs::path()) << "none found";

    fs::create_directories(installed / "data");
    EXPECT_EQ(Choose(), installed);
    fs::create_directories(program / "data");
    EXPECT_EQ(Choose(), program);
    fs::create_directories(started / "data");
    EXPECT_EQ(Choose(), started);
}

TEST_F(DataDirectoryTest, AFileNamedDataIsNotTheDataFolder) {
    std::ofstream(started / "data") << "not a folder";
    fs::create_directories(program / "data");
    EXPECT_EQ(Choose(), program);
}

TEST_F(DataDirectoryTest, TheInstalledDataMovesWithTheProgram) {
    const fs::path moved = root / "moved";
    fs::create_directories(moved / "games");
    fs::create_directories(moved / "share" / "games" / "skimlark" / "data");
    EXPECT_EQ(ChooseDataDirectory(DataDirectoryCandidates(started, moved / "games")),
              moved / "share" / "games" / "skimlark");
}

TEST_F(DataDirectoryTest, EntersTheFolderFoundFromWhereverItStarts) {
    EXPECT_TRUE(fs::exists(ExecutableDirectory() / "skimlark_tests"));
    fs::create_directories(started / "data");
    fs::current_path(started);
    EXPECT_TRUE(EnterDataDirectory());
    EXPECT_EQ(fs::current_path(), started);

    // From a folder without data/, the test program's own folder or its installed data.
    const fs::path bare = root / "bare";
    fs::create_directories(bare);
    fs::current_path(bare);
    const fs::path expected =
        ChooseDataDirectory({ExecutableDirectory(),
                             ExecutableDirectory().parent_path() / "share" / "games" / "skimlark"});
    EXPECT_EQ(EnterDataDirectory(), !expected.empty());
    EXPECT_EQ(fs::current_path(), expected.empty() ? bare : expected);
}

}  // namespace
