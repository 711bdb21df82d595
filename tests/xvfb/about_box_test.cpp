// The About box on X11, where the menu bar lies inside the conversion window: reaching for
// it is not coming back to that window, so it does not hide what the chosen item showed.
#include <QApplication>
#include <QClipboard>

#include "program_session.h"

namespace xvfb {
namespace {

using AboutBox = ProgramTest;

TEST_F(AboutBox, ChosenAgainAfterAPressOnItStaysUntilAClickIntoAField) {
    for (int time = 1; time <= 2; ++time) {
        ChooseWithMouse("Edit", "About Corvane");
        WaitFor([] { return Shown(Splash()); });
        Settle();
        ASSERT_TRUE(Shown(Splash())) << "About chosen " << time << " time(s)";
        if (time == 1) {
            ClickOn(TopLevel(Splash()));
            ASSERT_TRUE(WaitFor([] { return !Shown(Splash()); })) << "a press on the box hides it";
        }
    }
    QLineEdit* field = Field("rEdit");
    const QPoint inField(4, field->height() / 2);  // its left end, beside the box
    ASSERT_FALSE(TopLevel(Splash())->frameGeometry().contains(field->mapToGlobal(inField)))
        << "the box covers the field";
    ClickOn(field, inField);
    EXPECT_TRUE(WaitFor([] { return !Shown(Splash()); }))
        << "coming back to the conversion window hides the box";
}

// With the box in front, the bar still belongs to the conversion window behind it: About, and
// the Edit items for the field that had the focus, are enabled on the very first opening,
// whichever of the window system's activation and the menu's opening came first.
TEST_F(AboutBox, EditOpenedWithTheBoxInFrontShowsTheConversionWindowsStateAtOnce) {
    QLineEdit* r = Field("rEdit");
    ClickOn(r);
    Input().Type("0.5");
    ASSERT_TRUE(WaitFor([&] { return r->text() == "0.5"; }));
    r->selectAll();
    QApplication::clipboard()->setText("7");
    ChooseWithMouse("Edit", "About Corvane");
    QWidget* box = TopLevel(Splash());
    ASSERT_TRUE(WaitFor([&] { return box && box->isVisible() && box->isActiveWindow(); }));
    Settle();
    std::string why;
    QMenu* edit = OpenWithMouse("Edit", why);
    ASSERT_NE(edit, nullptr) << why;
    for (const char* item : {"About Corvane", "Cut", "Copy", "Paste", "Clear"}) {
        QAction* action = nullptr;
        for (QAction* candidate : edit->actions())
            if (candidate->text() == QLatin1String(item)) action = candidate;
        ASSERT_NE(action, nullptr) << item;
        EXPECT_TRUE(action->isEnabled()) << item << " is grey";
    }
    Input().Chord({"Escape"});
    EXPECT_TRUE(WaitFor([&] { return !edit->isVisible(); }));
}

}  // namespace
}  // namespace xvfb
