// The About box on X11, where the menu bar lies inside the conversion window: reaching for
// it is not coming back to that window, so it does not hide what the chosen item showed.
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

}  // namespace
}  // namespace xvfb
