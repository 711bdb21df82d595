// A picture file that is missing or cannot be read leaves its canvas empty while the windows
// open and work as ever, with nothing reported. (Starting without any display is tested on the
// executable itself: no_display_test.sh.)
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "conversion_fixture.h"
#include "shell/pictures.h"
#include "splash/splash_wnd.h"

namespace {

namespace fs = std::filesystem;
using conversion_test::CloseBothWindows;
using conversion_test::ControlOf;
using conversion_test::QtControl;

// Ways to spoil a picture file.
const std::pair<std::string, void (*)(const fs::path&)> kFaults[] = {
    {"Intact", [](const fs::path&) {}},
    {"Missing", [](const fs::path& file) { fs::remove(file); }},
    {"NotAPicture", [](const fs::path& file) { std::ofstream(file) << "No pixels.\n"; }},
    {"Truncated", [](const fs::path& file) { fs::resize_file(file, fs::file_size(file) / 2); }},
    {"Empty", [](const fs::path& file) { fs::resize_file(file, 0); }},
    {"AFolder", [](const fs::path& file) { fs::remove(file), fs::create_directory(file); }}};

bool HasPicture(Object* window, const char* canvas) {
    Ref<Object> control = ControlOf(window, canvas);
    EXPECT_TRUE(control) << canvas;
    return control && canvasBackdropGetter(control.get(), 0);
}

class SpoiltPictures : public testing::TestWithParam<int> {
  protected:
    // The program reads its pictures from a folder of its own, holding spoilt copies.
    void SetUp() override {
        CloseBothWindows();  // built again, with the pictures of now
        fs::create_directories(folder_);
        for (const char* file : {"Checks.png", "corvane.png", "corvane2.png"}) {
            fs::copy_file(fs::path(CORVANE_RESOURCE_FOLDER) / file, folder_ / file);
            kFaults[GetParam()].second(folder_ / file);
        }
        ToolkitSetResourceFolder(folder_.string());
        PicturesForgetForTesting();  // the next call of each accessor loads from here
        RuntimeSetExitStatus(0);
        ToolkitClearMessageBoxes();
    }
    void TearDown() override {
        CloseBothWindows();
        ToolkitSetResourceFolder(CORVANE_RESOURCE_FOLDER);
        PicturesForgetForTesting();
        fs::remove_all(folder_);
        RuntimeSetExitStatus(0);
    }
    const fs::path folder_ =
        fs::temp_directory_path() / ("corvane-faults-" + std::to_string(::getpid()));
};

TEST_P(SpoiltPictures, LeaveTheirCanvasesEmptyWhileBothWindowsOpenAndWork) {
    const bool intact = GetParam() == 0;
    const int64_t unhandled = RuntimeUnhandledExceptionCount();
    Ref<Object> conversion = MainWnd::MainWnd();  // opening it builds the splash window too
    ASSERT_TRUE(conversion && RuntimeWindowVisible(conversion.get()));
    EXPECT_EQ(HasPicture(conversion.get(), "Canvas1"), intact) << "Checks";
    EXPECT_EQ(HasPicture(conversion.get(), "Canvas2"), intact) << "corvane";
    QTest::keyClicks(QtControl<QLineEdit>(conversion.get(), "rEdit"), "0.5");
    QTest::mouseClick(QtControl<QPushButton>(conversion.get(), "CalcBtn"), Qt::LeftButton);
    EXPECT_EQ(QtControl<QLineEdit>(conversion.get(), "zEdit")->text(), "+0.549306");

    Ref<Object> splash = SplashWnd::SplashWnd();
    EXPECT_EQ(HasPicture(splash.get(), "Canvas1"), intact) << "corvane2";
    RuntimeShowWindow(splash.get());  // as the About box
    EXPECT_TRUE(RuntimeWindowVisible(splash.get()));
    EXPECT_EQ(RuntimeUnhandledExceptionCount(), unhandled);
    EXPECT_TRUE(ToolkitMessageBoxes().empty()) << "a missing picture is not reported";
}

INSTANTIATE_TEST_SUITE_P(Faults, SpoiltPictures, testing::Range(0, 6),
                         [](const auto& info) { return kFaults[info.param].first; });

}  // namespace
