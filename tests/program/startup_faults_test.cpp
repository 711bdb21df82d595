// Faults met at start-up. A picture file that is missing or cannot be read leaves its canvas
// empty while the windows open and work as ever, with nothing reported. A class record that
// cannot be built ends the start-up with one report and a failing status, without a crash.
// (Starting without any display is tested on the executable itself: no_display_test.sh.)
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>

#include "conversion/main_wnd.h"
#include "framework/toolkit/toolkit.h"
#include "framework/toolkit/toolkit_internal.h"
#include "shell/pictures.h"
#include "splash/splash_wnd.h"
#include "startup_fixture.h"

namespace {

namespace fs = std::filesystem;

// ---- spoilt pictures ---------------------------------------------------------------------

enum class Fault { kNone, kMissing, kNotAPicture, kTruncated, kEmpty, kFolder };

struct FaultCase {
    const char* name;
    Fault fault;
};
void PrintTo(const FaultCase& c, std::ostream* out) {
    *out << c.name;
}

const FaultCase kFaults[] = {
    {"Intact", Fault::kNone},
    {"Missing", Fault::kMissing},
    {"NotAPicture", Fault::kNotAPicture},
    {"Truncated", Fault::kTruncated},
    {"Empty", Fault::kEmpty},
    {"AFolder", Fault::kFolder},
};

constexpr const char* kPictureFiles[] = {"Checks.png", "corvane.png", "corvane2.png"};

// A resource folder of its own holding the three pictures, some of them spoilt; the program
// reads its pictures from here while the folder lives.
class PictureFolder {
  public:
    PictureFolder() {
        static int made = 0;
        path_ = fs::temp_directory_path() /
                ("corvane-faults-" + std::to_string(::getpid()) + "-" + std::to_string(++made));
        fs::create_directories(path_);
        for (const char* file : kPictureFiles)
            fs::copy_file(fs::path(CORVANE_RESOURCE_FOLDER) / file, path_ / file);
        ToolkitSetResourceFolder(path_.string());
        PicturesForgetForTesting();  // the next call of each accessor loads from here
    }
    ~PictureFolder() {
        ToolkitSetResourceFolder(CORVANE_RESOURCE_FOLDER);
        PicturesForgetForTesting();
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }

    void Spoil(const char* file, Fault fault) {
        fs::path picture = path_ / file;
        switch (fault) {
            case Fault::kNone:
                break;
            case Fault::kMissing:
                fs::remove(picture);
                break;
            case Fault::kNotAPicture:
                std::ofstream(picture, std::ios::trunc) << "These are no pixels.\n";
                break;
            case Fault::kTruncated:  // cut off in the middle of its pixels
                fs::resize_file(picture, fs::file_size(picture) / 2);
                break;
            case Fault::kEmpty:
                fs::resize_file(picture, 0);
                break;
            case Fault::kFolder:
                fs::remove(picture);
                fs::create_directory(picture);
                break;
        }
    }

  private:
    fs::path path_;
};

// ---- windows -----------------------------------------------------------------------------

Ref<Object> Control(Object* window, const char* name) {
    return RuntimeCallSlot<Ref<Object>, String>(window, Window::kControlByNameSlot, String(name));
}
bool HasPicture(Object* window, const char* canvas) {
    Ref<Object> control = Control(window, canvas);
    EXPECT_TRUE(control) << canvas;
    return control && canvasBackdropGetter(control.get(), 0);
}
template <class T>
T* Widget(Object* window, const char* name) {
    QWidget* content = ToolkitWindowWidget(window);
    QWidget* found = content ? content->findChild<QWidget*>(QString::fromUtf8(name)) : nullptr;
    if (auto* exact = qobject_cast<T*>(found)) return exact;
    return found ? found->findChild<T*>() : nullptr;
}
void CloseImplicitWindow(const char* qualifiedName) {
    if (Ref<Object> window = RuntimeGetImplicitWindow(String(qualifiedName)))
        RuntimeCloseWindow(window.get());
    QApplication::processEvents();
}

// The conversion still works: 0.5 typed into r gives +0.549306 in z.
void ExpectConversionWorks(Object* window) {
    auto* r = Widget<QLineEdit>(window, "rEdit");
    auto* calculate = Widget<QPushButton>(window, "CalcBtn");
    ASSERT_TRUE(r && calculate);
    r->clear();
    QTest::keyClicks(r, "0.5");
    QTest::mouseClick(calculate, Qt::LeftButton);
    EXPECT_EQ(Widget<QLineEdit>(window, "zEdit")->text().toStdString(), "+0.549306");
}

class SpoiltPictures : public testing::TestWithParam<FaultCase> {
  protected:
    void SetUp() override {
        CloseImplicitWindow("MainWnd.MainWnd");
        CloseImplicitWindow("SplashWnd.SplashWnd");  // built again, with the pictures of now
        RuntimeSetExitStatus(0);
        ToolkitClearMessageBoxes();
        unhandled_ = RuntimeUnhandledExceptionCount();
    }
    void TearDown() override {
        CloseImplicitWindow("MainWnd.MainWnd");
        CloseImplicitWindow("SplashWnd.SplashWnd");
        RuntimeSetExitStatus(0);
    }
    int64_t unhandled_ = 0;
};

TEST_P(SpoiltPictures, LeaveTheirCanvasesEmptyWhileBothWindowsOpenAndWork) {
    const bool intact = GetParam().fault == Fault::kNone;
    PictureFolder folder;
    for (const char* file : kPictureFiles) folder.Spoil(file, GetParam().fault);

    Ref<Object> conversion = MainWnd::MainWnd();  // opening it builds the splash window too
    ASSERT_TRUE(conversion);
    EXPECT_TRUE(RuntimeWindowVisible(conversion.get()));
    EXPECT_EQ(HasPicture(conversion.get(), "Canvas1"), intact) << "Checks";
    EXPECT_EQ(HasPicture(conversion.get(), "Canvas2"), intact) << "corvane";
    ExpectConversionWorks(conversion.get());

    Ref<Object> splash = SplashWnd::SplashWnd();
    ASSERT_TRUE(splash);
    EXPECT_EQ(HasPicture(splash.get(), "Canvas1"), intact) << "corvane2";
    RuntimeShowWindow(splash.get());  // as the About box
    EXPECT_TRUE(RuntimeWindowVisible(splash.get()));

    EXPECT_EQ(RuntimeUnhandledExceptionCount(), unhandled_);
    EXPECT_TRUE(ToolkitMessageBoxes().empty()) << "a missing picture is not reported";
}

INSTANTIATE_TEST_SUITE_P(Faults, SpoiltPictures, testing::ValuesIn(kFaults),
                         [](const testing::TestParamInfo<FaultCase>& info) {
                             return std::string(info.param.name);
                         });

// ---- whole runs ---------------------------------------------------------------------------

class StartupFaults : public ProgramRunTest {};

TEST_F(StartupFaults, ARunWithSpoiltPicturesShowsBothWindowsWithEmptyCanvasesAndEndsWell) {
    PictureFolder folder;
    folder.Spoil("corvane2.png", Fault::kTruncated);
    folder.Spoil("Checks.png", Fault::kNotAPicture);
    folder.Spoil("corvane.png", Fault::kMissing);

    At(300, [] {
        Ref<Object> splash = Splash();
        ASSERT_TRUE(Shown(splash)) << "the splash window opens without its picture";
        EXPECT_FALSE(HasPicture(splash.get(), "Canvas1"));
    });
    At(4400, [] {
        Ref<Object> conversion = Conversion();
        ASSERT_TRUE(Shown(conversion)) << "the timer brought up the conversion window";
        EXPECT_FALSE(Shown(Splash()));
        EXPECT_FALSE(HasPicture(conversion.get(), "Canvas1"));
        EXPECT_FALSE(HasPicture(conversion.get(), "Canvas2"));
        ExpectConversionWorks(conversion.get());
        Close(conversion.get());
    });
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(RuntimeUnhandledExceptionCount(), 0);
    EXPECT_TRUE(ToolkitMessageBoxes().empty());
}

// A menu bar class whose record states one property more than MenuBar gives it: its record
// cannot be built, so its lookup raises UnsupportedFormatException.
void MiscountedBarInit();
ClassCell gMiscountedBar{nullptr, &MiscountedBarInit};
void MiscountedBarInit() {
    static const ClassSpec miscounted{.name = "StartupFaults.MiscountedBar",
                                      .superclass = &MenuBar::dunder_Lookup,
                                      .methodCount = 34,
                                      .interfaceCount = 0,
                                      .eventCount = 2,
                                      .propertyCount = 21,
                                      .instanceDataSize = 48,
                                      .slotCount = 31};
    RuntimeBuildClass(gMiscountedBar, miscounted);
}

Ref<Object> MiscountedMenuBar() {
    return RuntimeNewObject(RuntimeLookupClass(gMiscountedBar));
}

TEST_F(StartupFaults, AClassRecordThatCannotBeBuiltEndsTheStartupWithOneReport) {
    // The record's other counts are MenuBar's own: only the property count is wrong.
    ClassRecord* menuBar = MenuBar::dunder_Lookup();
    ASSERT_EQ(menuBar->propertyCount, 20u);
    ASSERT_EQ(menuBar->methodCount, 34u);
    ASSERT_EQ(menuBar->slotCount, 31u);

    StartupSetMenuBarSourceForTesting(&MiscountedMenuBar);
    int status = Run(2000);

    EXPECT_NE(status, 0);
    EXPECT_FALSE(loopStarted_) << "no event loop after a failed start-up";
    EXPECT_EQ(RuntimeWindowCount(), 0);
    EXPECT_EQ(RuntimeUnhandledExceptionCount(), 1);
    std::vector<std::string> reports;
    for (const std::string& entry : RuntimeTraceLog())
        if (entry.rfind("RuntimeUnhandledException", 0) == 0) reports.push_back(entry);
    EXPECT_EQ(reports,
              std::vector<std::string>{"RuntimeUnhandledException UnsupportedFormatException"});
    std::vector<std::string> boxes = ToolkitMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u) << "the report is shown once";
    EXPECT_NE(boxes[0].find("UnsupportedFormatException"), std::string::npos) << boxes[0];
    EXPECT_NE(boxes[0].find("StartupFaults.MiscountedBar"), std::string::npos) << boxes[0];
    EXPECT_EQ(gMiscountedBar.record, nullptr) << "no half-built record is kept";
}

}  // namespace
