// Menus: an item tree built through the imports a program uses, presented in a QMenuBar,
// key equivalents, auto-enabling, and the standard Edit items acting on the focused field.
#include "framework/toolkit/menus.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QVBoxLayout>
#include <string>
#include <vector>

#include "framework/toolkit/application.h"
#include "framework/toolkit/application_impl.h"
#include "framework/toolkit/toolkit_internal.h"
#include "framework/toolkit/window.h"
#include "tests/toolkit/raised.h"

namespace {

// A tree of two menus and an empty one; the Edit items carry the names the standard commands
// go by. A shortcut of nil is never assigned.
struct ItemRow {
    const char* parent;  // nil: the bar
    const char* name;
    ClassRecord* (*cls)();
    const char* caption;
    const char* shortcut;
};
// clang-format off
const ItemRow kTree[] = {
    {nullptr,    "Tools",     &MenuItem::dunder_Lookup,      "Tools",   ""},
    {"Tools",    "Measure",   &MenuItem::dunder_Lookup,      "Measure", "Cmd+M"},
    {"Tools",    "Line",      &MenuItem::dunder_Lookup,      "-",       nullptr},
    {"Tools",    "Leave",     &QuitMenuItem::dunder_Lookup,  "Leave",   "Cmd+Q"},
    {nullptr,    "EditMenu",  &MenuItem::dunder_Lookup,      "Edit",    ""},
    {"EditMenu", "EditUndo",  &MenuItem::dunder_Lookup,      "Undo",    "Cmd+Z"},
    {"EditMenu", "EditCut",   &MenuItem::dunder_Lookup,      "Cut",     "Cmd+X"},
    {"EditMenu", "EditCopy",  &MenuItem::dunder_Lookup,      "Copy",    "Cmd+C"},
    {"EditMenu", "EditPaste", &MenuItem::dunder_Lookup,      "Paste",   "Cmd+V"},
    {"EditMenu", "EditClear", &MenuItem::dunder_Lookup,      "Clear",   ""},
    {"EditMenu", "Blank",     &MenuItem::dunder_Lookup,      "",        ""},
    {"EditMenu", "Info",      &AppleMenuItem::dunder_Lookup, "Info",    ""},
    {nullptr,    "Empty",     &MenuItem::dunder_Lookup,      "",        ""},
};
// clang-format on

Ref<Object> NewItem(ClassRecord* cls) {
    Ref<Object> item = RuntimeNewObject(cls);
    RuntimeCallSlot<void>(item.get(), MenuItem::kConstructorSlot);
    return item;
}

Ref<Object> Lookup(Object* bar, const char* name) {
    return RuntimeCallSlot<Ref<Object>, String>(bar, MenuItem::kLookupSlot, name);
}

// Builds the tree as a program does: the setters, then AddMenu on the bar or on the parent
// that the bar's Child finds by name.
Ref<Object> BuildTree() {
    Ref<Object> bar = NewItem(MenuBar::dunder_Lookup());
    for (const ItemRow& row : kTree) {
        Ref<Object> item = NewItem(row.cls());
        RuntimeMenuItemNameSetter(item.get(), 0, row.name);
        RuntimeMenuItemAutoEnableSetter(item.get(), 0, true);
        RuntimeMenuItemTextSetter(item.get(), 0, row.caption);
        if (row.shortcut) RuntimeMenuItemCommandKeySetter(item.get(), 0, row.shortcut);
        Ref<Object> parent = row.parent ? RuntimeCallSlot<Ref<Object>, String>(
                                              bar.get(), MenuItem::kChildSlot, row.parent)
                                        : bar;
        RuntimeCallSlot<void, Object*>(parent.get(), MenuItem::kAddMenuSlot, item.get());
    }
    return bar;
}

QAction* ActionOf(Object* bar, const char* name) {
    return static_cast<QAction*>(RuntimeCallSlot<void*, int64_t>(Lookup(bar, name).get(), 11, 0));
}

std::vector<std::string> Shown(const QList<QAction*>& actions) {
    std::vector<std::string> shown;
    for (QAction* action : actions)
        if (action->isVisible())
            shown.push_back(action->isSeparator() ? "-" : action->text().toStdString());
    return shown;
}

using MenusTest = LeakCheckedTest;

TEST_F(MenusTest, AQMenuBarShowsNoBlankMenuOrRowAndTakesLaterItems) {
    Ref<Object> bar = BuildTree();
    QMenuBar qbar;
    ToolkitInstallMenuBar(&qbar, bar.get());
    EXPECT_EQ(Shown(qbar.actions()), (std::vector<std::string>{"Tools", "Edit"}));
    EXPECT_EQ(Shown(ActionOf(bar.get(), "EditMenu")->menu()->actions()),
              (std::vector<std::string>{"Undo", "Cut", "Copy", "Paste", "Clear", "Info"}));
    EXPECT_EQ(Shown(ActionOf(bar.get(), "Tools")->menu()->actions()),
              (std::vector<std::string>{"Measure", "-", "Leave"}));
    Ref<Object> help = NewItem(MenuItem::dunder_Lookup());
    RuntimeMenuItemTextSetter(help.get(), 0, "Help");
    RuntimeMenuItemAppend(bar.get(), help.get());
    EXPECT_EQ(qbar.actions().last()->text(), "Help");
    EXPECT_TRUE(Lookup(bar.get(), "EditCopy"));
    EXPECT_FALSE(Lookup(bar.get(), "editcopy")) << "a name matches only itself, case included";
}

TEST_F(MenusTest, ShortcutsBecomeThePlatformsKeyEquivalents) {
#ifdef Q_OS_MACOS
    GTEST_SKIP() << "the table states the key equivalents outside macOS";
#endif
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"Cmd+Q", "Ctrl+Q"}, {"q", "Ctrl+Q"}, {"Cmd+Shift+Z", "Ctrl+Shift+Z"}, {"Cmd++", "Ctrl++"},
        {"Ctrl+Alt+Del", "Ctrl+Alt+Del"}, {"", ""}, {"Hyper+Q", ""}, {"Cmd+NoSuchKey", ""},
    };
    // clang-format on
    Ref<Object> item = NewItem(MenuItem::dunder_Lookup());
    auto* action = static_cast<QAction*>(RuntimeCallSlot<void*, int64_t>(item.get(), 11, 0));
    for (const auto& [written, expected] : cases) {
        RuntimeMenuItemCommandKeySetter(item.get(), 0, written);
        EXPECT_EQ(action->shortcut().toString(QKeySequence::PortableText).toStdString(), expected)
            << written;
        EXPECT_EQ(RuntimeMenuItemCommandKeyGetter(item.get(), 0).Std(), written);
    }
}

int gCommands = 0;
bool Command(Object*) {
    return ++gCommands, true;
}

// A shown, active window with one focused text field, whose menu bar is the tree.
class MenusOnAWindowTest : public LeakCheckedTest {
  protected:
    void SetUp() override {
        LeakCheckedTest::SetUp();
        gCommands = 0;
        bar_ = BuildTree();
        window_ = RuntimeNewObject(Window::dunder_Lookup());
        WindowDefaultConstructor(window_.get());
        WindowMenuBarSetter(window_.get(), 0, bar_.get());
        RuntimeShowWindow(window_.get());
        field_ = new QLineEdit(ToolkitWindowWidget(window_.get()));
        field_->show();
        top_ = ToolkitWindowWidget(window_.get())->window();
        top_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(top_));
        field_->setFocus();
        QApplication::clipboard()->clear();
    }
    void TearDown() override {
        RuntimeCloseWindow(window_.get());
        window_.Reset();
        bar_.Reset();
        LeakCheckedTest::TearDown();
    }
    QAction* Item(const char* name) { return ActionOf(bar_.get(), name); }
    bool Enabled(const char* name) {
        return RuntimeMenuItemEnabledGetter(Lookup(bar_.get(), name).get(), 0);
    }
    Ref<Object> bar_, window_;
    QWidget* top_ = nullptr;
    QLineEdit* field_ = nullptr;
};

TEST_F(MenusOnAWindowTest, AutoEnablingGreysWhatNothingHandlesAndABoundItemRunsOnItsKey) {
    Ref<Object> manual = Lookup(bar_.get(), "Blank");
    RuntimeMenuItemAutoEnableSetter(manual.get(), 0, false);
    RuntimeMenuItemEnabledSetter(manual.get(), 0, true);
    ToolkitAutoEnableMenus(bar_.get(), window_.get());
    const std::pair<const char*, bool> expected[] = {
        {"EditMenu", true}, {"Leave", true},  {"Blank", true},     // a menu, quit, not auto
        {"Measure", false}, {"Empty", false}, {"EditCopy", false}  // nothing acts on them
    };
    for (const auto& [name, enabled] : expected) EXPECT_EQ(Enabled(name), enabled) << name;
    WindowAddMenuHandler(window_.get(), "Measure", reinterpret_cast<void*>(&Command));
    ToolkitAutoEnableMenus(bar_.get(), window_.get());
    EXPECT_TRUE(Enabled("Measure"));
    Item("Measure")->trigger();
    QTest::keyClick(top_, Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(gCommands, 2);
}

TEST_F(MenusOnAWindowTest, EditItemsActOnTheFocusedFieldAndAreEnabledWhereTheyApply) {
    struct Case {
        const char* item;
        const char* text;
        bool selectAll;
        const char* clipboardBefore;
        const char* textAfter;
        const char* clipboardAfter;
    };
    // clang-format off
    const Case cases[] = {
        {"EditCopy",  "0.5", true,  "",    "0.5", "0.5"},
        {"EditCut",   "0.5", true,  "",    "",    "0.5"},
        {"EditPaste", "0.5", true,  "-1",  "-1",  "-1"},
        {"EditClear", "0.5", true,  "x",   "",    "x"},
        {"EditCopy",  "0.5", false, "x",   "0.5", "x"},  // nothing selected: greyed
    };
    // clang-format on
    for (const Case& c : cases) {
        field_->setText(c.text);
        if (c.selectAll) field_->selectAll();
        QApplication::clipboard()->setText(c.clipboardBefore);
        ToolkitAutoEnableMenus(bar_.get(), window_.get());
        EXPECT_EQ(Item(c.item)->isEnabled(), c.selectAll) << c.item;
        Item(c.item)->trigger();
        EXPECT_EQ(field_->text().toStdString(), c.textAfter) << c.item;
        EXPECT_EQ(QApplication::clipboard()->text().toStdString(), c.clipboardAfter) << c.item;
    }
    field_->setText("");
    QTest::keyClicks(field_, "0.5");
    ToolkitAutoEnableMenus(bar_.get(), window_.get());
    Item("EditUndo")->trigger();
    EXPECT_EQ(field_->text().toStdString(), "");
}

// A window without a bar of its own holds the application's: the bar's key equivalents choose
// their items in it, also when the bar is given to the application after the window opened.
TEST_F(MenusTest, AWindowWithoutABarOfItsOwnTakesTheApplicationBarsKeyEquivalents) {
    gCommands = 0;
    Ref<Object> bar = BuildTree();
    Ref<Object> window = RuntimeNewObject(Window::dunder_Lookup());
    WindowDefaultConstructor(window.get());
    RuntimeShowWindow(window.get());
    WindowAddMenuHandler(window.get(), "Measure", reinterpret_cast<void*>(&Command));
    QWidget* top = ToolkitWindowWidget(window.get())->window();
    top->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(top));
    Ref<Object> app = RuntimeNewObject(Application::dunder_Lookup());
    RuntimeRegisterAppObject(app.get());
    AppMenuBarSetter(app.get(), 0, bar.get());
    QTest::keyClick(top, Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(gCommands, 1);
    EXPECT_EQ(top->findChild<QMenuBar*>(), nullptr) << "the bar is not shown in the window";
    AppMenuBarSetter(app.get(), 0, nullptr);
    QTest::keyClick(top, Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(gCommands, 1) << "the bar taken from the application leaves the window too";
    ToolkitForgetApplicationObject();
    RuntimeCloseWindow(window.get());
}

}  // namespace
