// The user-interface thread: every user-interface operation the program uses, called from
// another thread, raises ThreadAccessingUIException and leaves everything as it was.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <functional>
#include <sstream>
#include <thread>

#include "tests/toolkit/raised.h"
#include "tests/toolkit/recorder_window.h"

namespace {

using namespace recorder;

Ref<Object> NewMenuItem(ClassRecord* cls, const char* name) {
    Ref<Object> item = RuntimeNewObject(cls);
    RuntimeCallSlot<void>(item.get(), MenuItem::kConstructorSlot);
    RuntimeMenuItemNameSetter(item.get(), 0, name);
    RuntimeMenuItemTextSetter(item.get(), 0, name);
    return item;
}

Ref<Object> NewControl(Object* window, ClassRecord* cls, const char* name) {
    Ref<Object> control = WindowAllocateObject(window, cls);
    RectControlDefaultConstructor(control.get());
    WindowAddControl(window, name, control.get());
    return control;
}

Variant Property(Object* object, const char* name) {
    const PropertyEntry* entry = RuntimeFindProperty(object->cls, name);
    return entry->boxedGetter(object, entry);
}

bool DoesNothing(Object*) {
    return false;
}
void LateStartup() {}

class UIThreadTest : public LeakCheckedTest {
  protected:
    void SetUp() override {
        LeakCheckedTest::SetUp();
        shown_ = OpenWindow(PlainClass());
        hidden_ = OpenWindow(PlainClass());
        RuntimeHideWindow(hidden_.get());
        bar_ = NewMenuItem(MenuBar::dunder_Lookup(), "Bar");
        menu_ = NewMenuItem(MenuItem::dunder_Lookup(), "File");
        item_ = NewMenuItem(MenuItem::dunder_Lookup(), "Item");
        spareItem_ = NewMenuItem(MenuItem::dunder_Lookup(), "Spare");
        RuntimeMenuItemAppend(menu_.get(), item_.get());
        RuntimeMenuItemAppend(bar_.get(), menu_.get());
        WindowMenuBarSetter(shown_.get(), 0, bar_.get());
        app_ = RuntimeNewObject(TestAppClass());
        AppMenuBarSetter(app_.get(), 0, bar_.get());
        field_ = NewControl(shown_.get(), TextField::dunder_Lookup(), "Field");
        canvas_ = NewControl(shown_.get(), Canvas::dunder_Lookup(), "Canvas");
        spareControl_ = WindowAllocateObject(shown_.get(), TextField::dunder_Lookup());
        timer_ = RuntimeNewObject(Timer::dunder_Lookup());
        picture_ = RuntimeNewObject(Picture::dunder_Lookup());
    }
    void TearDown() override {
        AppMenuBarSetter(app_.get(), 0, nullptr);
        RuntimeCloseWindow(shown_.get());
        RuntimeCloseWindow(hidden_.get());
        for (Ref<Object>* held : {&shown_, &hidden_, &bar_, &menu_, &item_, &spareItem_, &app_,
                                  &field_, &canvas_, &spareControl_, &timer_, &picture_})
            held->Reset();
        RunDeferredDeletions();
        LeakCheckedTest::TearDown();
    }

    // What a person or the program could observe of everything the operations touch.
    std::string Observed() {
        Object *window = shown_.get(), *item = item_.get();
        auto* line = ToolkitWindowWidget(window)->findChild<QLineEdit*>();
        std::ostringstream out;
        out << RuntimeWindowCount() << RuntimeWindowAt(0).get() << RuntimeWindowVisible(window)
            << RuntimeWindowVisible(hidden_.get()) << Property(window, "Title").AsString().Std()
            << WindowMenuBarGetter(window, 0).get() << Property(window, "ControlCount").AsInteger()
            << (ToolkitWindowMenuHandler(window, "Item") != nullptr) << '|'
            << editTextGetter(field_.get(), 0).Std() << line->text().toStdString()
            << ControlVisibleGetter(field_.get(), 0) << line->isVisible()
            << canvasBackdropGetter(canvas_.get(), 0).get() << '|'
            << RuntimeMenuItemNameGetter(item, 0).Std() << RuntimeMenuItemTextGetter(item, 0).Std()
            << RuntimeMenuItemCommandKeyGetter(item, 0).Std()
            << RuntimeMenuItemVisibleGetter(item, 0) << RuntimeMenuItemAutoEnableGetter(item, 0)
            << RuntimeMenuItemEnabledGetter(item, 0) << RuntimeMenuItemCount(menu_.get()) << '|'
            << RuntimeTimerArmed(timer_.get()) << Property(timer_.get(), "Period").AsInteger()
            << '|' << AppMenuBarGetter(app_.get(), 0).get() << RuntimeExit() << ToolkitBeepCount()
            << ToolkitMessageBoxes().size() << RuntimeLiveObjectCount();
        return out.str();
    }

    Ref<Object> shown_, hidden_, bar_, menu_, item_, spareItem_, app_, field_, canvas_,
        spareControl_, timer_, picture_;
};

TEST_F(UIThreadTest, EveryUserInterfaceOperationRefusesAnotherThreadAndChangesNothing) {
    Object *w = shown_.get(), *hidden = hidden_.get(), *bar = bar_.get(), *menu = menu_.get(),
           *item = item_.get(), *spareItem = spareItem_.get(), *app = app_.get(),
           *field = field_.get(), *canvas = canvas_.get(), *spare = spareControl_.get(),
           *timer = timer_.get(), *picture = picture_.get();
    using Record = std::vector<RecordEntry>;
    const String windowRecord = EncodePropertyRecord(Record{{"Title", Str("Other")}});
    const String fieldRecord = EncodePropertyRecord(Record{{"Value", Str("typed")}});
    const String timerRecord =
        EncodePropertyRecord(Record{{"RunMode", Int(1)}, {"Period", Int(4000)}});
    // clang-format off
    const std::pair<const char*, std::function<void()>> operations[] = {
        {"Window.Constructor",     [] { OpenWindow(PlainClass()); }},
        {"Window.Show",            [=] { RuntimeCallSlot<void>(hidden, Window::kShowSlot); }},
        {"Window.Hide",            [=] { RuntimeCallSlot<void>(w, Window::kHideSlot); }},
        {"Window.Close",           [=] { RuntimeCallSlot<void>(hidden, Window::kCloseSlot); }},
        {"Window.MenuBar get",     [=] { WindowMenuBarGetter(w, 0); }},
        {"Window.MenuBar set",     [=] { WindowMenuBarSetter(w, 0, nullptr); }},
        {"Window._ControlByName",  [=] { RuntimeCallSlot<Ref<Object>, String>(w, Window::kControlByNameSlot, "Field"); }},
        {"Window.__New",           [=] { RuntimeCallSlot<Ref<Object>, void*>(w, Window::kNewSlot, TextField::dunder_Lookup()); }},
        {"Window._AddControl",     [=] { RuntimeCallSlot<void, String, Object*>(w, Window::kAddControlSlot, "Spare", spare); }},
        {"Window._AddMenuHandler", [=] { RuntimeCallSlot<void, String, void*>(w, Window::kAddMenuHandlerSlot, "Item", reinterpret_cast<void*>(&DoesNothing)); }},
        {"_GetImplicitWindow",     [] { under_GetImplicitWindow("TestWindows.Plain"); }},
        {"_SetProperties window",  [=] { under_SetProperties(w, windowRecord); }},
        {"RectControl.Constructor",[=] { RuntimeCallSlot<void>(spare, RectControl::kConstructorSlot); }},
        {"TextField.Text get",     [=] { editTextGetter(field, 0); }},
        {"TextField.Text set",     [=] { editTextSetter(field, 0, "typed"); }},
        {"RectControl.Visible set",[=] { ControlVisibleSetter(field, 0, false); }},
        {"Canvas.Backdrop set",    [=] { canvasBackdropSetter(canvas, 0, picture); }},
        {"_SetProperties control", [=] { under_SetProperties(field, fieldRecord); }},
        {"new MenuItem",           [] { RuntimeNewObject(MenuItem::dunder_Lookup()); }},
        {"MenuItem.Constructor",   [=] { RuntimeCallSlot<void>(spareItem, MenuItem::kConstructorSlot); }},
        {"MenuItem.Name set",      [=] { RuntimeMenuItemNameSetter(item, 0, "Other"); }},
        {"MenuItem.Text set",      [=] { RuntimeMenuItemTextSetter(item, 0, "Other"); }},
        {"MenuItem.Shortcut set",  [=] { RuntimeMenuItemCommandKeySetter(item, 0, "Cmd+O"); }},
        {"MenuItem.Visible set",   [=] { RuntimeMenuItemVisibleSetter(item, 0, false); }},
        {"MenuItem.AutoEnable set",[=] { RuntimeMenuItemAutoEnableSetter(item, 0, false); }},
        {"MenuItem.Enabled set",   [=] { RuntimeMenuItemEnabledSetter(item, 0, false); }},
        {"MenuItem.AddMenu",       [=] { RuntimeCallSlot<void, Object*>(menu, MenuItem::kAddMenuSlot, spareItem); }},
        {"MenuItem.Child",         [=] { RuntimeCallSlot<Ref<Object>, String>(bar, MenuItem::kChildSlot, "File"); }},
        {"MenuItem._Lookup",       [=] { RuntimeCallSlot<Ref<Object>, String>(bar, MenuItem::kLookupSlot, "Item"); }},
        {"Timer record",           [=] { under_SetProperties(timer, timerRecord); }},
        {"Application.MenuBar set",[=] { AppMenuBarSetter(app, 0, nullptr); }},
        {"Application start",      [] { under_RunFrameworkInitialization(AsGenericFn(&LateStartup)); }},
        {"event loop",             [] { under_RuntimeRun(); }},
        {"Quit",                   [] { RuntimeApplicationQuit(7); }},
        {"Beep",                   [] { Beep(); }},
        {"MsgBox",                 [] { RuntimeMsgBox("from another thread"); }},
    };
    // clang-format on
    const std::string before = Observed();
    for (const auto& [name, operation] : operations) {
        std::string raised;
        std::thread([&, op = operation] { raised = RaisedClass(op); }).join();
        EXPECT_EQ(raised, "ThreadAccessingUIException") << name;
        EXPECT_EQ(Observed(), before) << name;
    }
}

}  // namespace
