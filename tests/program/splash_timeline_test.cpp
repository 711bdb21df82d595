// The splash window over a whole run with its real 4000 ms timer: shown from the start,
// hidden at 4000 ms when the conversion window comes up, hidden earlier by a press or a key,
// and shown again as the About box.
#include <QTest>

#include "splash/splash_wnd.h"
#include "startup_fixture.h"

namespace {

class SplashTimelineTest : public ProgramRunTest {
  protected:
    void CloseConversionAt(int ms) {
        At(ms, [] { Close(Conversion().get()); });
    }
    static std::string FieldText(Object* window, const char* name) {
        Ref<Object> field =
            RuntimeCallSlot<Ref<Object>, String>(window, Window::kControlByNameSlot, String(name));
        return field ? editTextGetter(field.get(), 0).Std() : "<none>";
    }
    static int ShownWindows() {
        int shown = 0;
        for (int64_t i = 0; i < RuntimeWindowCount(); ++i) shown += Shown(RuntimeWindowAt(i));
        return shown;
    }
};

TEST_F(SplashTimelineTest, IsShownForFourSecondsThenTheConversionWindowComesUpWithEmptyFields) {
    Object* splash = nullptr;
    At(50, [&] {
        EXPECT_TRUE(Shown(Splash()));
        splash = Splash().get();
    });
    At(3800, [] {
        EXPECT_TRUE(Shown(Splash()));
        EXPECT_FALSE(Conversion()) << "only the timer creates the conversion window";
    });
    At(4300, [&] {
        ASSERT_TRUE(Shown(Conversion()));
        EXPECT_FALSE(Shown(Splash()));
        EXPECT_EQ(Splash().get(), splash) << "hidden, not closed";
        EXPECT_EQ(FieldText(Conversion().get(), "rEdit"), "");
        EXPECT_EQ(FieldText(Conversion().get(), "zEdit"), "");
    });
    CloseConversionAt(4400);
    EXPECT_EQ(Run(), 0);
}

// A person who does not wait: a click, or a key.
struct Gesture {
    const char* name;
    void (*act)(QWidget*);
};
void PrintTo(const Gesture& gesture, std::ostream* os) {
    *os << gesture.name;
}
class EarlyGestureTest : public SplashTimelineTest, public testing::WithParamInterface<Gesture> {};

TEST_P(EarlyGestureTest, HidesTheSplashAtOnceAndNoWindowIsShownUntilTheTimerFires) {
    At(1000, [] {
        ASSERT_TRUE(Shown(Splash()));
        GetParam().act(ToolkitWindowWidget(Splash().get()));
        EXPECT_FALSE(Shown(Splash()));
    });
    for (int ms : {1100, 2500, 3800})
        At(ms, [ms] { EXPECT_EQ(ShownWindows(), 0) << "at " << ms << " ms"; });
    At(4300, [] { EXPECT_TRUE(Shown(Conversion())); });
    CloseConversionAt(4400);
    EXPECT_EQ(Run(), 0);
}

const Gesture kGestures[] = {
    {"Click", [](QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(10, 10)); }},
    {"Key", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Space); }},
};
INSTANTIATE_TEST_SUITE_P(ClickOrKey, EarlyGestureTest, testing::ValuesIn(kGestures),
                         [](const testing::TestParamInfo<Gesture>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(SplashTimelineTest, AboutShowsTheSameWindowWithoutATimerUntilAPressOrAnActivationHidesIt) {
    Object* splash = nullptr;
    At(50, [&] { splash = Splash().get(); });
    At(4300, [&] {
        ASSERT_TRUE(Choose(Conversion().get(), "About Corvane"));
        EXPECT_TRUE(Shown(Splash()));
        EXPECT_EQ(Splash().get(), splash);
        EXPECT_FALSE(RuntimeTimerArmed(
            RuntimeCallSlot<Ref<Object>>(splash, SplashWnd::SplashWnd::kTimer1Slot).get()));
        QTest::mouseClick(ToolkitWindowWidget(splash), Qt::LeftButton, {}, QPoint(10, 10));
        EXPECT_FALSE(Shown(Splash()));
        ASSERT_TRUE(Choose(Conversion().get(), "About Corvane"));
        EXPECT_TRUE(Shown(Splash())) << "shown a second time";
    });
    At(5800, [] {
        EXPECT_TRUE(Shown(Splash())) << "the About box stays up";
        QApplication::setActiveWindow(TopLevel(Conversion().get()));
    });
    At(6000, [] { EXPECT_FALSE(Shown(Splash())) << "activating the conversion window hides it"; });
    CloseConversionAt(6100);
    EXPECT_EQ(Run(), 0);
}

}  // namespace
