// The beep, the message box and MessageDialog: counted, recorded and answered as a person
// would, and the real modal box on the offscreen platform.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

#include "tests/toolkit/raised.h"
#include "tests/toolkit/recorder_window.h"

namespace {

class DialogsTest : public LeakCheckedTest {
  protected:
    void SetUp() override {
        ToolkitResetBeepCount();
        ToolkitClearMessageBoxes();
        LeakCheckedTest::SetUp();
    }
    void TearDown() override {
        ToolkitRecordMessageBoxes(true);
        ToolkitClearMessageBoxes();
        LeakCheckedTest::TearDown();
    }
};

TEST_F(DialogsTest, EveryBeepIsCountedAndRecordedMessageBoxesKeepTheirTextsInOrder) {
    Beep();
    Beep();
    EXPECT_EQ(ToolkitBeepCount(), 2);
    ToolkitResetBeepCount();
    EXPECT_EQ(ToolkitBeepCount(), 0);
    RuntimeMsgBox(String("r values must range from -1.00 to +1.00"));
    RuntimeMsgBox(String("second"));
    EXPECT_EQ(ToolkitMessageBoxes(),
              (std::vector<std::string>{"r values must range from -1.00 to +1.00", "second"}));
    ToolkitClearMessageBoxes();
    EXPECT_TRUE(ToolkitMessageBoxes().empty());
}

TEST_F(DialogsTest, UnrecordedMessageBoxIsAModalBoxThatReturnsOnceDismissed) {
    ToolkitRecordMessageBoxes(false);
    QString shown;
    QTimer::singleShot(0, [&shown] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = box->text();
        box->accept();
    });
    RuntimeMsgBox(String("r values must range from -1.00 to +1.00"));
    EXPECT_EQ(shown, "r values must range from -1.00 to +1.00");
    EXPECT_TRUE(ToolkitMessageBoxes().empty());
}

void SetText(Object* dialog, const char* name, const char* value) {
    const PropertyEntry* entry = RuntimeFindProperty(dialog->cls, name);
    ASSERT_NE(entry, nullptr) << name;
    entry->boxedSetter(dialog, entry, Variant(value));
}

TEST_F(DialogsTest, AMessageDialogShowsItsMessageAndExplanationAndAnswersWithAButton) {
    Ref<Object> dialog = RuntimeNewObject(MessageDialog::dunder_Lookup());
    SetText(dialog.get(), "Message", "Save changes?");
    SetText(dialog.get(), "Explanation", "They are lost otherwise.");
    SetText(dialog.get(), "CancelButtonCaption", "Cancel");
    EXPECT_EQ(RuntimeCallSlot<int64_t>(dialog.get(), 0), 0);  // ShowModal, answered at once
    EXPECT_EQ(ToolkitMessageBoxes(),
              std::vector<std::string>{"Save changes?\n\nThey are lost otherwise."});

    ToolkitRecordMessageBoxes(false);
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->informativeText(), "They are lost otherwise.");
        for (QAbstractButton* button : box->buttons())
            if (button->text() == "Cancel") button->click();
    });
    EXPECT_EQ(RuntimeCallSlot<int64_t>(dialog.get(), 0), 1);  // the cancel button
}

}  // namespace
