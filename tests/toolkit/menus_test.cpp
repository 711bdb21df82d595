// Menus: the item tree built through the imports the program uses, lookup at any depth,
// presentation in a QMenuBar, key equivalents, auto-enabling and the Edit commands on a
// focused field.
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
#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "framework/toolkit/toolkit_internal.h"
#include "framework/toolkit/window.h"
#include "tests/toolkit/raised.h"

namespace {

struct ItemRow {
    const char* parent;  // nil: the bar
    const char* name;
    ClassRecord* (*cls)();
    const char* caption;
    std::optional<const char*> shortcut;  // nullopt: never assigned
};

constexpr auto kPlain = &MenuItem::dunder_Lookup, kApple = &AppleMenuItem::dunder_Lookup,
               kQuit = &QuitMenuItem::dunder_Lookup;

// clang-format off
// The application's menu bar: four menus and eleven items, in the order of their creation.
const ItemRow kMenuTree[] = {
    {nullptr,         "Apple",         kPlain, "",              ""},
    {nullptr,         "UntitledMenu2", kPlain, "File",          ""},
    {"UntitledMenu2", "FileQuit",      kQuit,  "Quit",          "Cmd+Q"},
    {"UntitledMenu2", "UntitledMenu6", kPlain, "",              ""},
    {nullptr,         "UntitledMenu0", kPlain, "Edit",          ""},
    {"UntitledMenu0", "EditUndo",      kPlain, "Undo",          "Cmd+Z"},
    {"UntitledMenu0", "UntitledMenu1", kPlain, "-",             std::nullopt},
    {"UntitledMenu0", "EditCut",       kPlain, "Cut",           "Cmd+X"},
    {"UntitledMenu0", "EditCopy",      kPlain, "Copy",          "Cmd+C"},
    {"UntitledMenu0", "EditPaste",     kPlain, "Paste",         "Cmd+V"},
    {"UntitledMenu0", "EditClear",     kPlain, "Clear",         ""},
    {"UntitledMenu0", "UntitledMenu5", kPlain, "",              ""},
    {"UntitledMenu0", "About",         kApple, "About Corvane", ""},
    {"UntitledMenu0", "UntitledMenu4", kApple, "",              ""},
    {nullptr,         "UntitledMenu3", kPlain, "",              ""},
};
// clang-format on

Ref<Object> NewItem(ClassRecord* cls) {
    Ref<Object> item = RuntimeNewObject(cls);
    RuntimeCallSlot<void>(item.get(), MenuItem::kConstructorSlot);
    return item;
}

// Builds the tree as the program does: constructor in slot 6, the setters, then AddMenu on
// the bar or on the parent that the bar's Child finds by name.
Ref<Object> BuildMenuTree() {
    Ref<Object> bar = NewItem(MenuBar::dunder_Lookup());
    for (const ItemRow& row : kMenuTree) {
        Ref<Object> item = NewItem(row.cls());
        RuntimeMenuItemNameSetter(item.get(), 0, row.name);
        RuntimeMenuItemAutoEnableSetter(item.get(), 0, true);
        RuntimeMenuItemTextSetter(item.get(), 0, row.caption);
        RuntimeMenuItemVisibleSetter(item.get(), 0, true);
        if (row.shortcut) RuntimeMenuItemCommandKeySetter(item.get(), 0, *row.shortcut);
        Ref<Object> parent = row.parent ? RuntimeCallSlot<Ref<Object>, String>(
                                              bar.get(), MenuItem::kChildSlot, row.parent)
                                        : bar;
        RuntimeCallSlot<void, Object*>(RuntimeRequire(parent.get()), MenuItem::kAddMenuSlot,
                                       item.get());
    }
    return bar;
}

Ref<Object> Lookup(Object* bar, const char* name) {
    return RuntimeCallSlot<Ref<Object>, String>(bar, MenuItem::kLookupSlot, name);
}

QAction* ActionOf(Object* bar, const char* name) {
    Ref<Object> item = Lookup(bar, name);
    return static_cast<QAction*>(
        RuntimeCallSlot<void*, int64_t>(RuntimeRequire(item.get()), 11, 0));
}

std::vector<std::string> ChildNames(Object* item) {
    std::vector<std::string> names;
    for (int64_t i = 0; i < RuntimeMenuItemCount(item); ++i)
        names.push_back(RuntimeMenuItemNameGetter(RuntimeMenuItemAt(item, i).get(), 0).Std());
    return names;
}

using MenusTest = LeakCheckedTest;

TEST_F(MenusTest, EveryItemOfTheTreeIsFoundByNameAtAnyDepthAndNoneInsideItself) {
    Ref<Object> bar = BuildMenuTree();
    for (const ItemRow& row : kMenuTree) {
        Ref<Object> item = Lookup(bar.get(), row.name);
        ASSERT_TRUE(item) << row.name;
        EXPECT_EQ(item->cls, row.cls()) << row.name;
        EXPECT_EQ(RuntimeMenuItemTextGetter(item.get(), 0).Std(), row.caption) << row.name;
        EXPECT_TRUE(RuntimeMenuItemVisibleGetter(item.get(), 0)) << row.name;
        EXPECT_TRUE(RuntimeMenuItemAutoEnableGetter(item.get(), 0)) << row.name;
        EXPECT_EQ(RuntimeMenuItemCommandKeyGetter(item.get(), 0).Std(), row.shortcut.value_or(""))
            << row.name;
    }
    EXPECT_FALSE(Lookup(bar.get(), "NoSuchItem"));
    EXPECT_FALSE(Lookup(bar.get(), "editcopy")) << "a name matches only itself, case included";
    auto child = RuntimeCallSlot<Ref<Object>, String>;
    EXPECT_FALSE(child(bar.get(), MenuItem::kChildSlot, "EditCopy"));  // Child looks one level down
    EXPECT_EQ(ChildNames(bar.get()), (std::vector<std::string>{"Apple", "UntitledMenu2",
                                                               "UntitledMenu0", "UntitledMenu3"}));
    EXPECT_EQ(
        ChildNames(Lookup(bar.get(), "UntitledMenu0").get()),
        (std::vector<std::string>{"EditUndo", "UntitledMenu1", "EditCut", "EditCopy", "EditPaste",
                                  "EditClear", "UntitledMenu5", "About", "UntitledMenu4"}));

    Ref<Object> edit = Lookup(bar.get(), "UntitledMenu0");
    EXPECT_EQ(
        RaisedClass([&] { RuntimeMenuItemAppend(Lookup(bar.get(), "About").get(), bar.get()); }),
        "UnsupportedOperationException");
    EXPECT_EQ(RaisedClass([&] { RuntimeMenuItemAppend(edit.get(), edit.get()); }),
              "UnsupportedOperationException");
    EXPECT_EQ(RaisedClass([&] { RuntimeMenuItemAppend(nullptr, edit.get()); }),
              "NilObjectException");
}

TEST_F(MenusTest, QMenuBarsShowNoBlankMenuOrRowAndEachTakesLaterItems) {
    Ref<Object> bar = BuildMenuTree();
    QMenuBar qbar, second;
    ToolkitInstallMenuBar(&qbar, bar.get());
    ToolkitInstallMenuBar(&second, bar.get());

    std::vector<std::string> shownMenus;
    for (QAction* action : qbar.actions())
        if (action->isVisible()) shownMenus.push_back(action->text().toStdString());
    EXPECT_EQ(qbar.actions().size(), 4);
    EXPECT_EQ(shownMenus, (std::vector<std::string>{"File", "Edit"}));

    QMenu* edit = ActionOf(bar.get(), "UntitledMenu0")->menu();
    ASSERT_NE(edit, nullptr);
    std::vector<std::string> rows;
    for (QAction* action : edit->actions()) {
        if (!action->isVisible()) continue;
        rows.push_back(action->isSeparator() ? "-" : action->text().toStdString());
    }
    EXPECT_EQ(rows, (std::vector<std::string>{"Undo", "-", "Cut", "Copy", "Paste", "Clear",
                                              "About Corvane"}));
    // The unshown items still exist and are visible as far as the program can tell.
    EXPECT_TRUE(RuntimeMenuItemVisibleGetter(Lookup(bar.get(), "UntitledMenu5").get(), 0));
    EXPECT_EQ(ActionOf(bar.get(), "Apple")->menu(), nullptr);  // no children: no menu to drop down

    Ref<Object> help = NewItem(MenuItem::dunder_Lookup());
    RuntimeMenuItemTextSetter(help.get(), 0, "Help");
    RuntimeMenuItemAppend(bar.get(), help.get());
    EXPECT_EQ(qbar.actions().size(), 5);
    EXPECT_EQ(qbar.actions().last(), second.actions().last());
    ToolkitInstallMenuBar(&second, nullptr);
    EXPECT_TRUE(second.actions().isEmpty());
}

struct ShortcutCase {
    const char* written;
    const char* expected;  // portable text of the key sequence; "" for none
};

TEST_F(MenusTest, ShortcutsBecomeThePlatformsKeyEquivalents) {
#ifdef Q_OS_MACOS
    GTEST_SKIP() << "the table states the key equivalents outside macOS";
#endif
    // clang-format off
    const ShortcutCase cases[] = {
        {"Cmd+Q", "Ctrl+Q"},       {"Cmd+Z", "Ctrl+Z"},   {"Cmd+X", "Ctrl+X"},  {"Cmd+C", "Ctrl+C"},
        {"Cmd+V", "Ctrl+V"},       {"Q", "Ctrl+Q"},       {"q", "Ctrl+Q"},      {"Cmd+Shift+Z", "Ctrl+Shift+Z"},
        {"Cmd++", "Ctrl++"},       {"Ctrl+Alt+Del", "Ctrl+Alt+Del"},            {"", ""},
        {"Hyper+Q", ""},           {"Cmd+NoSuchKey", ""},
    };
    // clang-format on
    Ref<Object> item = NewItem(MenuItem::dunder_Lookup());
    auto* action = static_cast<QAction*>(RuntimeCallSlot<void*, int64_t>(item.get(), 11, 0));
    ASSERT_NE(action, nullptr);
    for (const ShortcutCase& c : cases) {
        RuntimeMenuItemCommandKeySetter(item.get(), 0, c.written);
        EXPECT_EQ(action->shortcut().toString(QKeySequence::PortableText).toStdString(), c.expected)
            << c.written;
        EXPECT_EQ(RuntimeMenuItemCommandKeyGetter(item.get(), 0).Std(), c.written);
    }
}

// ---- auto-enabling and commands ---------------------------------------------------------

int gActionCalls = 0;
bool HandledAction(Object*) {
    ++gActionCalls;
    return true;
}

void AttachAction(Object* item, bool (*handler)(Object*)) {
    Ref<Object> delegate = RuntimeCreateDelegate(DelegateInvocation<bool, Object*>(),
                                                 reinterpret_cast<GenericFn>(handler), nullptr,
                                                 "( MenuItem ) as Boolean", 0);
    RuntimeAddEventHandler(item, MenuItem::kActionEvent, EventDispatchRoutine<bool>(),
                           delegate.get());
}

bool EnabledOf(Object* bar, const char* name) {
    return RuntimeMenuItemEnabledGetter(Lookup(bar, name).get(), 0);
}

TEST_F(MenusTest, AutoEnablingGreysWhatNothingHandlesAndOpeningAMenuDoesItFirst) {
    Ref<Object> bar = BuildMenuTree();
    AttachAction(Lookup(bar.get(), "About").get(), &HandledAction);
    Ref<Object> manual = Lookup(bar.get(), "UntitledMenu6");
    RuntimeMenuItemAutoEnableSetter(manual.get(), 0, false);
    RuntimeMenuItemEnabledSetter(manual.get(), 0, true);
    RuntimeMenuItemEnabledSetter(Lookup(bar.get(), "About").get(), 0, false);

    // Opening the Edit menu enables its items first.
    QMenu* edit = ActionOf(bar.get(), "UntitledMenu0")->menu();
    edit->popup(QPoint(10, 10));
    EXPECT_TRUE(ActionOf(bar.get(), "About")->isEnabled());
    edit->hide();

    ToolkitAutoEnableMenus(bar.get(), nullptr);
    struct Expected {
        const char* name;
        bool enabled;
    } const expected[] = {
        {"UntitledMenu0", true},   // a menu with items
        {"FileQuit", true},        // the quit item acts by itself
        {"About", true},           // an Action handler is attached
        {"UntitledMenu6", true},   // not auto-enabled: keeps what it was given
        {"UntitledMenu5", false},  // nothing acts on it
        {"Apple", false},          // an empty menu
        {"EditCopy", false},       // no text field has the focus
    };
    for (const Expected& e : expected) EXPECT_EQ(EnabledOf(bar.get(), e.name), e.enabled) << e.name;
    EXPECT_FALSE(ActionOf(bar.get(), "UntitledMenu5")->isEnabled());
    gActionCalls = 0;
    ActionOf(bar.get(), "About")->trigger();
    EXPECT_EQ(gActionCalls, 1);
}

// A shown window with one focused text field, which the Edit items act on.
class EditCommandsTest : public LeakCheckedTest {
  protected:
    void SetUp() override {
        LeakCheckedTest::SetUp();
        auto* layout = new QVBoxLayout(&window_);
        field_ = new QLineEdit(&window_);
        layout->addWidget(field_);
        window_.show();
        window_.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
        field_->setFocus();
        QApplication::clipboard()->clear();
        bar_ = BuildMenuTree();
    }
    void TearDown() override {
        bar_.Reset();
        LeakCheckedTest::TearDown();
    }
    QAction* Item(const char* name) { return ActionOf(bar_.get(), name); }

    QWidget window_;
    QLineEdit* field_ = nullptr;
    Ref<Object> bar_;
};

struct EditCase {
    const char* item;
    const char* text;
    bool selectAll;
    const char* clipboardBefore;
    const char* textAfter;
    const char* clipboardAfter;
};

TEST_F(EditCommandsTest, EditItemsActOnTheFocusedField) {
    // clang-format off
    const EditCase cases[] = {
        {"EditCopy",  "0.5",  true,  "",    "0.5",    "0.5"},
        {"EditCut",   "0.5",  true,  "",    "",       "0.5"},
        {"EditPaste", "",     false, "0.7", "0.7",    "0.7"},
        {"EditPaste", "0.5",  true,  "-1",  "-1",     "-1"},
        {"EditClear", "0.5",  true,  "x",   "",       "x"},
        {"EditCopy",  "0.5",  false, "x",   "0.5",    "x"},  // nothing selected: nothing copied
    };
    // clang-format on
    for (const EditCase& c : cases) {
        field_->setText(c.text);
        if (c.selectAll) field_->selectAll();
        QApplication::clipboard()->setText(c.clipboardBefore);
        Item(c.item)->trigger();
        EXPECT_EQ(field_->text().toStdString(), c.textAfter) << c.item << " on " << c.text;
        EXPECT_EQ(QApplication::clipboard()->text().toStdString(), c.clipboardAfter)
            << c.item << " on " << c.text;
    }
    field_->setText("");
    QTest::keyClicks(field_, "0.5");
    Item("EditUndo")->trigger();
    EXPECT_EQ(field_->text().toStdString(), "");
}

TEST_F(EditCommandsTest, EditItemsAreEnabledOnlyWhenTheyApplyToTheField) {
    struct Case {
        const char* text;
        bool selectAll;
        const char* clipboard;
        bool readOnly;
        bool cut, copy, paste, clear;
    } const cases[] = {
        {"0.5", true, "", false, true, true, false, true},
        {"0.5", false, "1", false, false, false, true, false},
        {"0.5", true, "1", true, false, true, false, false},
    };
    for (const Case& c : cases) {
        field_->setReadOnly(c.readOnly);
        field_->setText(c.text);
        if (c.selectAll) field_->selectAll();
        QApplication::clipboard()->setText(c.clipboard);
        ToolkitAutoEnableMenus(bar_.get(), nullptr);
        EXPECT_EQ(Item("EditCut")->isEnabled(), c.cut) << c.text;
        EXPECT_EQ(Item("EditCopy")->isEnabled(), c.copy) << c.text;
        EXPECT_EQ(Item("EditPaste")->isEnabled(), c.paste) << c.text;
        EXPECT_EQ(Item("EditClear")->isEnabled(), c.clear) << c.text;
    }
    field_->setReadOnly(false);
}

// ---- on a framework window --------------------------------------------------------------

int gWindowCommands = 0;
bool WindowCommand(Object*) {
    ++gWindowCommands;
    return true;
}

// A shown, active window whose menu bar is the application's tree.
class MenusOnAWindowTest : public LeakCheckedTest {
  protected:
    void SetUp() override {
        LeakCheckedTest::SetUp();
        gWindowCommands = 0;
        bar_ = BuildMenuTree();
        window_ = RuntimeNewObject(Window::dunder_Lookup());
        WindowDefaultConstructor(window_.get());
        WindowMenuBarSetter(window_.get(), 0, bar_.get());
        RuntimeShowWindow(window_.get());
        top_ = ToolkitWindowWidget(window_.get())->window();
        top_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(top_));
    }
    void TearDown() override {
        RuntimeCloseWindow(window_.get());
        window_.Reset();
        bar_.Reset();
        LeakCheckedTest::TearDown();
    }
    Ref<Object> bar_, window_;
    QWidget* top_ = nullptr;
};

TEST_F(MenusOnAWindowTest, AnItemBoundOnTheWindowIsEnabledRunsItsMethodAndTakesItsKey) {
    ToolkitAutoEnableMenus(bar_.get(), window_.get());
    EXPECT_FALSE(EnabledOf(bar_.get(), "About"));
    WindowAddMenuHandler(window_.get(), "About", reinterpret_cast<void*>(&WindowCommand));
    ToolkitAutoEnableMenus(bar_.get(), window_.get());
    EXPECT_TRUE(EnabledOf(bar_.get(), "About"));
    ActionOf(bar_.get(), "About")->trigger();
    EXPECT_EQ(gWindowCommands, 1);

    // A key equivalent reaches a greyed item that the window handles.
    ASSERT_FALSE(ActionOf(bar_.get(), "EditUndo")->isEnabled());
    WindowAddMenuHandler(window_.get(), "EditUndo", reinterpret_cast<void*>(&WindowCommand));
    QTest::keyClick(top_, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(gWindowCommands, 2);
}

}  // namespace
