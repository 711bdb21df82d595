// The three picture accessors, each on a resource folder of its own that lacks the file at
// first: nil and a new try on each call until the file can be loaded, then one cached object.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <ostream>
#include <string>

#include "framework/toolkit/toolkit.h"
#include "shell/pictures.h"

namespace {

namespace fs = std::filesystem;

struct PictureCase {
    const char* fileName;
    Ref<Object> (*accessor)();
};
void PrintTo(const PictureCase& picture, std::ostream* os) {
    *os << picture.fileName;
}

const PictureCase kPictures[] = {
    {"Checks.png", &_x_Checks::Checks},
    {"corvane.png", &_x_corvane::corvane},
    {"corvane2.png", &_x_corvane2::corvane2},
};

class PicturesTest : public testing::TestWithParam<PictureCase> {
  protected:
    void SetUp() override {
        PicturesForgetForTesting();
        folder_ = fs::temp_directory_path() / ("corvane-pictures-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
        ToolkitSetResourceFolder(folder_.string());
    }
    void TearDown() override {
        ToolkitSetResourceFolder(CORVANE_RESOURCE_FOLDER);
        PicturesForgetForTesting();
        fs::remove_all(folder_);
    }
    void Provide(const char* fileName) {
        fs::copy_file(fs::path(CORVANE_RESOURCE_FOLDER) / fileName, folder_ / fileName);
    }
    fs::path folder_;
};

TEST_P(PicturesTest, IsNilAndRetriedWhileMissingThenLoadedOnceAndShared) {
    const PictureCase& picture = GetParam();
    EXPECT_FALSE(picture.accessor());
    EXPECT_FALSE(picture.accessor());
    Provide(picture.fileName);
    Ref<Object> first = picture.accessor();
    ASSERT_TRUE(first) << "tried again once the file is there";
    Ref<Object> second = picture.accessor();
    EXPECT_EQ(first.get(), second.get());
    EXPECT_EQ(first->refcount, 3) << "the cache's own and the two handed out";
    int64_t width = RuntimePictureWidth(first.get());
    first.Reset();
    second.Reset();
    fs::remove(folder_ / picture.fileName);
    Ref<Object> cached = picture.accessor();
    ASSERT_TRUE(cached) << "no file is read again once cached";
    EXPECT_EQ(RuntimePictureWidth(cached.get()), width);
}

INSTANTIATE_TEST_SUITE_P(EachPicture, PicturesTest, testing::ValuesIn(kPictures),
                         [](const testing::TestParamInfo<PictureCase>& info) {
                             std::string name = info.param.fileName;
                             return name.substr(0, name.find('.'));
                         });

TEST_F(PicturesTest, EachPictureIsCachedOnItsOwn) {
    Provide("Checks.png");
    Provide("corvane2.png");
    Ref<Object> checks = _x_Checks::Checks(), corvane2 = _x_corvane2::corvane2();
    EXPECT_FALSE(_x_corvane::corvane()) << "a failed load of one picture";
    ASSERT_TRUE(checks && corvane2);
    EXPECT_NE(checks.get(), corvane2.get());
    EXPECT_EQ(_x_Checks::Checks().get(), checks.get());
    EXPECT_EQ(_x_corvane2::corvane2().get(), corvane2.get());
}

}  // namespace
