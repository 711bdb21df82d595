// The three picture accessors on a resource folder of their own that lacks the files at first:
// nil and a new try on each call until the file can be loaded, then one cached object each.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "framework/toolkit/toolkit.h"
#include "shell/pictures.h"
#include "shell/shell_testing.h"

namespace {

namespace fs = std::filesystem;

class PicturesTest : public testing::Test {
  protected:
    void SetUp() override {
        PicturesForgetForTesting();
        fs::create_directories(folder_);
        ToolkitSetResourceFolder(folder_.string());
    }
    void TearDown() override {
        ToolkitSetResourceFolder(CORVANE_RESOURCE_FOLDER);
        PicturesForgetForTesting();
        fs::remove_all(folder_);
    }
    const fs::path folder_ =
        fs::temp_directory_path() / ("corvane-pictures-" + std::to_string(::getpid()));
};

TEST_F(PicturesTest, EachIsNilAndRetriedWhileMissingThenLoadedOnceAndCachedOnItsOwn) {
    const std::pair<const char*, Ref<Object> (*)()> pictures[] = {
        {"Checks.png", &under_x_Checks::Checks},
        {"corvane.png", &under_x_corvane::corvane},
        {"corvane2.png", &under_x_corvane2::corvane2}};
    Object* loaded[3] = {};
    for (int i = 0; i < 3; ++i) {
        const auto& [file, accessor] = pictures[i];
        EXPECT_FALSE(accessor()) << file;
        EXPECT_FALSE(accessor()) << file;
        fs::copy_file(fs::path(CORVANE_RESOURCE_FOLDER) / file, folder_ / file);
        Ref<Object> first = accessor(), second = accessor();
        ASSERT_TRUE(first) << file << ": tried again once the file is there";
        EXPECT_EQ(first.get(), second.get()) << file;
        EXPECT_EQ(first->refcount, 3) << file << ": the cache's own and the two handed out";
        loaded[i] = first.get();
        for (int j = i + 1; j < 3; ++j)
            EXPECT_FALSE(pictures[j].second()) << pictures[j].first << " is not loaded yet";
    }
    for (int i = 0; i < 3; ++i) {
        fs::remove(folder_ / pictures[i].first);
        EXPECT_EQ(pictures[i].second().get(), loaded[i]) << "no file is read again once cached";
    }
    EXPECT_TRUE(loaded[0] != loaded[1] && loaded[1] != loaded[2] && loaded[0] != loaded[2]);
}

}  // namespace
