// The message box as a person sees it: the real modal box on the offscreen platform.
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

}  // namespace
