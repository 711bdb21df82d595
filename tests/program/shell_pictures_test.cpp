// The three picture accessors: loaded once from the resource folder and cached; a missing
// file gives nil and is tried again on the next call; each picture is cached on its own.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <ostream>
#include <string>

#include "framework/toolkit/toolkit.h"
#include "shell/pictures.h"

namespace {

namespace fs = std::filesystem;

using Accessor = Ref<Object> (*)();

struct PictureCase {
    const char* fileName;
    Accessor accessor;
};

void PrintTo(const PictureCase& picture, std::ostream* os) { *os << picture.fileName; }

const PictureCase kPictures[] = {
    {"Checks.png", &_x_Checks::Checks},
    {"corvane.png", &_x_corvane::corvane},
    {"corvane2.png", &_x_corvane2::corvane2},
};

// Each test has a resource folder of its own, empty at first.
class PictureFolderTest : public testing::Test {
protected:
    void SetUp() override {
        PicturesForgetForTesting();
        folder_ = fs::temp_directory_path() /
                  ("corvane-pictures-" + std::to_string(::getpid()) + "-" +
                   testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder_);
        ToolkitSetResourceFolder(folder_.string());
    }
    void TearDown() override {
        ToolkitSetResourceFolder(CORVANE_RESOURCE_FOLDER);
        PicturesForgetForTesting();
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    // Puts the real picture file into the test's resource folder.
    void Provide(const char* fileName) {
        fs::copy_file(fs::path(CORVANE_RESOURCE_FOLDER) / fileName, folder_ / fileName,
                      fs::copy_options::overwrite_existing);
    }
    void Withdraw(const char* fileName) { fs::remove(folder_ / fileName); }

    fs::path folder_;
};

class PicturesTest : public PictureFolderTest, public testing::WithParamInterface<PictureCase> {};

TEST_P(PicturesTest, TwoCallsGiveTheSameObjectEachWithItsOwnReference) {
    Provide(GetParam().fileName);
    Ref<Object> first = GetParam().accessor();
    Ref<Object> second = GetParam().accessor();
    ASSERT_TRUE(first);
    EXPECT_EQ(first.get(), second.get());
    EXPECT_EQ(first->refcount, 3) << "the cache's reference and the two handed out";
    int64_t width = RuntimePictureWidth(first.get());
    EXPECT_GT(width, 0);
    first.Reset();
    second.Reset();
    Ref<Object> third = GetParam().accessor();
    ASSERT_TRUE(third) << "releasing both left the cached picture intact";
    EXPECT_EQ(RuntimePictureWidth(third.get()), width);
}

TEST_P(PicturesTest, AMissingFileGivesNilUntilItCanBeLoadedThenStaysCached) {
    const char* fileName = GetParam().fileName;
    EXPECT_FALSE(GetParam().accessor());
    EXPECT_FALSE(GetParam().accessor()) << "still missing: nil again, without an exception";
    Provide(fileName);
    Ref<Object> loaded = GetParam().accessor();
    ASSERT_TRUE(loaded) << "the next call tries the load again";
    Withdraw(fileName);
    EXPECT_EQ(GetParam().accessor().get(), loaded.get()) << "no file is read once it is cached";
}

TEST_P(PicturesTest, AFileThatIsNoPictureGivesNil) {
    const char* fileName = GetParam().fileName;
    std::FILE* file = std::fopen((folder_ / fileName).c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs("not a picture", file);
    std::fclose(file);
    EXPECT_FALSE(GetParam().accessor());
    Provide(fileName);
    EXPECT_TRUE(GetParam().accessor());
}

INSTANTIATE_TEST_SUITE_P(EachPicture, PicturesTest, testing::ValuesIn(kPictures),
                         [](const testing::TestParamInfo<PictureCase>& info) {
                             std::string name = info.param.fileName;
                             return name.substr(0, name.find('.'));
                         });

TEST_F(PictureFolderTest, AFailedLoadOfOnePictureLeavesTheOthersCached) {
    Provide("Checks.png");
    Provide("corvane2.png");
    Ref<Object> checks = _x_Checks::Checks();
    Ref<Object> corvane2 = _x_corvane2::corvane2();
    ASSERT_TRUE(checks);
    ASSERT_TRUE(corvane2);
    EXPECT_FALSE(_x_corvane::corvane());
    EXPECT_NE(checks.get(), corvane2.get());
    EXPECT_EQ(_x_Checks::Checks().get(), checks.get());
    EXPECT_EQ(_x_corvane2::corvane2().get(), corvane2.get());
}

}  // namespace
