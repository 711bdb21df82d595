// The conversion window's menus worked from the keyboard: once a menu is open, the arrow keys
// move along the bar to the next or the previous menu, which is brought up to date as it
// opens, and Return chooses the highlighted item.
#include <QClipboard>

#include "conversion_fixture.h"

namespace conversion_test {
namespace {

class ConversionMenuKeys : public ConversionWindowTest {
  protected:
    void SetUp() override {
        ConversionWindowTest::SetUp();
        Top()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Top()));
        bar_ = Top()->findChild<QMenuBar*>();
        ASSERT_NE(bar_, nullptr);
        for (QAction* action : bar_->actions())
            if (action->text() == "File" || action->text() == "Edit")
                (action->text() == "File" ? file_ : edit_) = action;
        ASSERT_TRUE(file_ && edit_);
    }
    void TearDown() override {
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
        ConversionWindowTest::TearDown();
    }

    // The caption of the bar's open menu; "" when none is open.
    std::string OpenMenu() const {
        QAction* active = bar_->activeAction();
        bool open = active && active->menu() && active->menu()->isVisible();
        return open ? active->text().toStdString() : "";
    }
    QAction* EditItem(const char* caption) const {
        for (QAction* action : edit_->menu()->actions())
            if (action->text() == caption) return action;
        return nullptr;
    }
    static void Key(Qt::Key key) {
        QWidget* popup = QApplication::activePopupWidget();
        ASSERT_NE(popup, nullptr) << "no menu is open";
        QTest::keyClick(popup, key);
    }

    QMenuBar* bar_ = nullptr;
    QAction *file_ = nullptr, *edit_ = nullptr;
};

TEST_F(ConversionMenuKeys, ArrowKeysMoveBetweenTheOpenMenusAndReturnChoosesAbout) {
    bar_->setActiveAction(file_);
    EXPECT_EQ(OpenMenu(), "File");
    const std::pair<Qt::Key, const char*> steps[] = {
        {Qt::Key_Right, "Edit"}, {Qt::Key_Left, "File"}, {Qt::Key_Left, "Edit"}};  // wraps round
    for (const auto& [key, opened] : steps) {
        Key(key);
        EXPECT_EQ(OpenMenu(), opened);
    }
    Key(Qt::Key_Up);  // from the top, the last item
    ASSERT_EQ(edit_->menu()->activeAction(), EditItem("About Corvane"));
    Key(Qt::Key_Return);
    EXPECT_EQ(OpenMenu(), "");
    EXPECT_TRUE(SplashShown()) << "About shows the splash window";
}

// Moving through the menus with the keys gives the focus to the menu bar; the Edit items
// still act on the field typed in, and are enabled as they apply to it.
TEST_F(ConversionMenuKeys, EditItemsReachedByArrowKeysActOnTheFieldTypedIn) {
    Type("rEdit", "0.5");
    QtControl<QLineEdit>(window(), "rEdit")->selectAll();
    QApplication::clipboard()->clear();
    bar_->setActiveAction(file_);
    Key(Qt::Key_Right);
    ASSERT_EQ(OpenMenu(), "Edit");
    EXPECT_TRUE(EditItem("Copy")->isEnabled() && EditItem("Cut")->isEnabled());
    EXPECT_FALSE(EditItem("Paste")->isEnabled()) << "the clipboard is empty";
    for (int row = 0; row < 6 && edit_->menu()->activeAction() != EditItem("Copy"); ++row)
        Key(Qt::Key_Down);
    ASSERT_EQ(edit_->menu()->activeAction(), EditItem("Copy"));
    Key(Qt::Key_Return);
    EXPECT_EQ(OpenMenu(), "");
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "0.5");
    EXPECT_EQ(RText(), "0.5");
    EXPECT_EQ(ToolkitBeepCount(), 0);
}

TEST_F(ConversionMenuKeys, EditPasteTakesAsMuchAsFitsLikeThePasteKey) {
    Type("rEdit", "0.5");
    QApplication::clipboard()->setText("1234567890");
    bar_->setActiveAction(edit_);
    ASSERT_EQ(OpenMenu(), "Edit");
    EditItem("Paste")->trigger();
    EXPECT_EQ(RText(), "0.5123456");
}

}  // namespace
}  // namespace conversion_test
