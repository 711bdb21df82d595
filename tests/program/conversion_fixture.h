// A conversion window per test, opened through its implicit-instance accessor and closed
// afterwards, with helpers that reach its controls' Qt widgets and drive them as a person
// would: typing into the line edits and clicking the buttons.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include <string>

#include "conversion/main_wnd.h"
#include "framework/toolkit/toolkit.h"
#include "framework/toolkit/toolkit_internal.h"

namespace conversion_test {

using W = struct MainWnd::MainWnd;

// The control the window holds under `name` (a new reference), or nil.
inline Ref<Object> ControlOf(Object* window, const char* name) {
    return RuntimeCallSlot<Ref<Object>, String>(window, Window::kControlByNameSlot, String(name));
}

// An Integer design property of a control, read through its property entry.
inline int64_t IntegerProperty(Object* object, const char* name) {
    const PropertyEntry* entry = RuntimeFindProperty(object->cls, name);
    if (!entry) ADD_FAILURE() << "no property " << name;
    return entry ? entry->boxedGetter(object, entry).AsInteger() : 0;
}

// The Qt widget of the control under `name`: the window's child widget with that object
// name, or else the one that stands at the control's place.
inline QWidget* WidgetOf(Object* window, const char* name) {
    QWidget* top = ToolkitWindowWidget(window);
    if (!top) return nullptr;
    if (auto* named = top->findChild<QWidget*>(QString::fromUtf8(name))) return named;
    Ref<Object> control = ControlOf(window, name);
    if (!control) return nullptr;
    QRect place(static_cast<int>(IntegerProperty(control.get(), "Left")),
                static_cast<int>(IntegerProperty(control.get(), "Top")),
                static_cast<int>(IntegerProperty(control.get(), "Width")),
                static_cast<int>(IntegerProperty(control.get(), "Height")));
    for (QWidget* child : top->findChildren<QWidget*>())
        if (child->geometry() == place) return child;
    return nullptr;
}

// The widget of `name`, or the first child of it, of Qt class T.
template <class T>
T* QtControl(Object* window, const char* name) {
    QWidget* widget = WidgetOf(window, name);
    if (!widget) return nullptr;
    if (auto* exact = qobject_cast<T*>(widget)) return exact;
    return widget->findChild<T*>();
}

class ConversionWindowTest : public testing::Test {
protected:
    void SetUp() override {
        RuntimeSetExitStatus(0);
        window_ = MainWnd::MainWnd();
        ASSERT_TRUE(window_) << "the conversion window was not created";
        QApplication::processEvents();
        ToolkitResetBeepCount();
        ToolkitClearMessageBoxes();
    }

    void TearDown() override {
        CloseNow();
        RuntimeSetExitStatus(0);
        ToolkitResetBeepCount();
        ToolkitClearMessageBoxes();
    }

    Object* window() const { return window_.get(); }

    // Closes the window now (its Close event quits with 0).
    void CloseNow() {
        if (window_) RuntimeCloseWindow(window_.get());
        window_.Reset();
        QApplication::processEvents();
    }
    // Closes the window and opens a new one through the accessor.
    void Reopen() {
        CloseNow();
        window_ = MainWnd::MainWnd();
        ASSERT_TRUE(window_);
        QApplication::processEvents();
    }

    // The control through the window's accessor in `slot`.
    Ref<Object> Accessor(uint32_t slot) const { return RuntimeCallSlot<Ref<Object>>(window(), slot); }

    QLineEdit* Field(const char* name) const {
        auto* field = QtControl<QLineEdit>(window(), name);
        EXPECT_NE(field, nullptr) << "no line edit for " << name;
        return field;
    }
    QPushButton* Button(const char* name) const {
        auto* button = QtControl<QPushButton>(window(), name);
        EXPECT_NE(button, nullptr) << "no push button for " << name;
        return button;
    }

    // Types `text` into the field, one key at a time.
    void Type(const char* field, const std::string& text) const {
        if (QLineEdit* edit = Field(field)) QTest::keyClicks(edit, QString::fromStdString(text));
    }
    void Press(const char* field, Qt::Key key) const {
        if (QLineEdit* edit = Field(field)) QTest::keyClick(edit, key);
    }
    void Click(const char* button) const {
        if (QPushButton* push = Button(button)) QTest::mouseClick(push, Qt::LeftButton);
    }

    // A field's text as the framework reads it.
    std::string TextOf(uint32_t accessorSlot) const {
        Ref<Object> field = Accessor(accessorSlot);
        return field ? editTextGetter(field.get(), 0).Std() : std::string("<nil>");
    }
    // Sets a field's text as the program does, without keys.
    void SetText(uint32_t accessorSlot, const char* text) const {
        Ref<Object> field = Accessor(accessorSlot);
        ASSERT_TRUE(field);
        editTextSetter(field.get(), 0, String(text));
    }
    std::string RText() const { return TextOf(W::kREditSlot); }
    std::string ZText() const { return TextOf(W::kZEditSlot); }

    bool HelpVisible() const {
        Ref<Object> help = Accessor(W::kDescribeTxtSlot);
        return help && ControlVisibleGetter(help.get(), 0);
    }

private:
    Ref<Object> window_;
};

}  // namespace conversion_test
