// The three picture accessors on a resource folder of their own that lacks the files at first:
// nil and a new try on each call until the file can be loaded, then one cached object each;
// and the windows without their pictures.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "conversion_fixture.h"
#include "framework/toolkit/toolkit.h"
#include "shell/pictures.h"
#include "shell/shell_testing.h"
#include "splash/splash_wnd.h"

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

// A picture that cannot be loaded leaves its canvas empty while the windows open and work as
// ever, with nothing reported.
TEST_F(PicturesTest, WithoutTheirPicturesBothWindowsOpenAndWork) {
    using namespace conversion_test;
    ToolkitClearMessageBoxes();
    const int64_t unhandled = RuntimeUnhandledExceptionCount();
    Ref<Object> conversion = MainWnd::MainWnd(), splash = SplashWnd::SplashWnd();
    ASSERT_TRUE(conversion && RuntimeWindowVisible(conversion.get()));
    for (const auto& [window, canvas] : {std::pair{conversion.get(), "Canvas1"},
                                         {conversion.get(), "Canvas2"},
                                         {splash.get(), "Canvas1"}})
        EXPECT_FALSE(canvasBackdropGetter(ControlOf(window, canvas).get(), 0)) << canvas;
    QTest::keyClicks(QtControl<QLineEdit>(conversion.get(), "rEdit"), "0.5");
    QTest::mouseClick(QtControl<QPushButton>(conversion.get(), "CalcBtn"), Qt::LeftButton);
    EXPECT_EQ(QtControl<QLineEdit>(conversion.get(), "zEdit")->text(), "+0.549306");
    RuntimeShowWindow(splash.get());  // as the About box
    EXPECT_TRUE(RuntimeWindowVisible(splash.get()));
    EXPECT_EQ(RuntimeUnhandledExceptionCount(), unhandled);
    EXPECT_TRUE(ToolkitMessageBoxes().empty()) << "a missing picture is not reported";
    conversion.Reset();
    splash.Reset();
    CloseBothWindows();
}

}  // namespace
