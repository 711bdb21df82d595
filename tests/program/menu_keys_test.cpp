// The conversion window's menus worked from the keyboard: once a menu is open, the arrow
// keys move along the bar to the next or the previous menu, which is brought up to date as
// it opens, and Return chooses the highlighted item.
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <string>

#include "conversion_fixture.h"
#include "splash/splash_wnd.h"

namespace conversion_test {
namespace {

class ConversionMenuKeys : public ConversionWindowTest {
  protected:
    void SetUp() override {
        ConversionWindowTest::SetUp();
        top_ = ToolkitWindowWidget(window())->window();
        top_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(top_));
        bar_ = top_->findChild<QMenuBar*>();
        ASSERT_NE(bar_, nullptr);
    }
    void TearDown() override {
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
        ConversionWindowTest::TearDown();
    }

    QAction* TopMenu(const char* caption) const {
        for (QAction* action : bar_->actions())
            if (action->text() == QString::fromUtf8(caption)) return action;
        ADD_FAILURE() << "no menu " << caption;
        return nullptr;
    }
    // The caption of the bar's highlighted menu and whether that menu is open.
    std::string Open() const {
        QAction* active = bar_->activeAction();
        if (!active || !active->menu() || !active->menu()->isVisible()) return "";
        return active->text().toStdString();
    }
    static QAction* Item(QAction* menu, const char* caption) {
        for (QAction* action : menu->menu()->actions())
            if (action->text() == QString::fromUtf8(caption)) return action;
        return nullptr;
    }
    static void Key(Qt::Key key) {
        QWidget* popup = QApplication::activePopupWidget();
        ASSERT_NE(popup, nullptr) << "no menu is open";
        QTest::keyClick(popup, key);
    }

    QWidget* top_ = nullptr;
    QMenuBar* bar_ = nullptr;
};

TEST_F(ConversionMenuKeys, ArrowKeysMoveBetweenTheOpenMenusOfTheBar) {
    bar_->setActiveAction(TopMenu("File"));
    EXPECT_EQ(Open(), "File");
    const Qt::Key keys[] = {Qt::Key_Right, Qt::Key_Left, Qt::Key_Left};
    const char* opened[] = {"Edit", "File", "Edit"};  // the bar wraps round at its ends
    for (size_t i = 0; i < std::size(keys); ++i) {
        Key(keys[i]);
        EXPECT_EQ(Open(), opened[i]) << "after key " << i;
    }
}

// Moving through the menus with the keys gives the focus to the menu bar; the Edit items
// still act on the field typed in, and are enabled as they apply to it.
TEST_F(ConversionMenuKeys, EditItemsReachedByArrowKeysActOnTheFieldTypedIn) {
    Type("rEdit", "0.5");
    QtControl<QLineEdit>(window(), "rEdit")->selectAll();
    QApplication::clipboard()->clear();
    QAction* edit = TopMenu("Edit");
    bar_->setActiveAction(TopMenu("File"));
    Key(Qt::Key_Right);
    ASSERT_EQ(Open(), "Edit");
    EXPECT_TRUE(Item(edit, "Copy")->isEnabled()) << "something is selected to copy";
    EXPECT_TRUE(Item(edit, "Cut")->isEnabled());
    EXPECT_FALSE(Item(edit, "Paste")->isEnabled()) << "the clipboard is empty";

    for (int row = 0; row < 6 && edit->menu()->activeAction() != Item(edit, "Copy"); ++row)
        Key(Qt::Key_Down);
    ASSERT_EQ(edit->menu()->activeAction(), Item(edit, "Copy"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Open(), "");
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "0.5");
    EXPECT_EQ(RText(), "0.5");
    EXPECT_EQ(ToolkitBeepCount(), 0);
}

TEST_F(ConversionMenuKeys, EditPasteTakesAsMuchAsFitsLikeThePasteKey) {
    Type("rEdit", "0.5");
    QApplication::clipboard()->setText("1234567890");
    QAction* edit = TopMenu("Edit");
    bar_->setActiveAction(edit);
    ASSERT_EQ(Open(), "Edit");
    Item(edit, "Paste")->trigger();
    EXPECT_EQ(RText(), "0.5123456");
    EXPECT_EQ(ZText(), "") << "text placed without a key does not pass the filter";
}

TEST_F(ConversionMenuKeys, ReturnChoosesAboutAndTheSplashWindowShows) {
    QAction* edit = TopMenu("Edit");
    bar_->setActiveAction(TopMenu("File"));
    Key(Qt::Key_Left);  // the bar wraps round to its last menu
    ASSERT_EQ(Open(), "Edit");
    Key(Qt::Key_Up);  // from the top, the last item
    ASSERT_EQ(edit->menu()->activeAction(), Item(edit, "About Corvane"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Open(), "");
    Ref<Object> splash = RuntimeGetImplicitWindow(String("SplashWnd.SplashWnd"));
    EXPECT_TRUE(splash && RuntimeWindowVisible(splash.get())) << "About shows the splash window";
}

}  // namespace
}  // namespace conversion_test
