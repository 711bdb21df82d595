// A conversion window per test, opened through its accessor and closed afterwards, with
// helpers that drive its controls' Qt widgets as a person would.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <string>

#include "conversion/main_wnd.h"
#include "framework/toolkit/toolkit_internal.h"

namespace conversion_test {

using W = struct MainWnd::MainWnd;

inline Ref<Object> ControlOf(Object* window, const char* name) {
    return RuntimeCallSlot<Ref<Object>, String>(window, Window::kControlByNameSlot, String(name));
}

// The Qt widget of a control: the toolkit names each widget after its control.
template <class T = QWidget>
T* QtControl(Object* window, const char* name) {
    QWidget* top = ToolkitWindowWidget(window);
    QWidget* widget = top ? top->findChild<QWidget*>(QString::fromUtf8(name)) : nullptr;
    if (!widget) return nullptr;
    if (auto* exact = qobject_cast<T*>(widget)) return exact;
    return widget->findChild<T*>();
}

class ConversionWindowTest : public testing::Test {
  protected:
    void SetUp() override {
        RuntimeSetExitStatus(0);
        Open();
        ToolkitResetBeepCount();
        ToolkitClearMessageBoxes();
    }
    void TearDown() override {
        CloseNow();
        RuntimeSetExitStatus(0);
    }

    void Open() {
        window_ = MainWnd::MainWnd();
        ASSERT_TRUE(window_);
        QApplication::processEvents();
    }
    void CloseNow() {
        if (window_) RuntimeCloseWindow(window_.get());
        window_.Reset();
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the closed window goes
    }

    Object* window() const { return window_.get(); }
    Ref<Object> Accessor(uint32_t slot) const {
        return RuntimeCallSlot<Ref<Object>>(window(), slot);
    }

    void Type(const char* field, const std::string& text) const {
        auto* edit = QtControl<QLineEdit>(window(), field);
        ASSERT_NE(edit, nullptr) << field;
        QTest::keyClicks(edit, QString::fromStdString(text));
    }
    void Press(const char* field, Qt::Key key) const {
        auto* edit = QtControl<QLineEdit>(window(), field);
        ASSERT_NE(edit, nullptr) << field;
        QTest::keyClick(edit, key);
    }
    void Click(const char* button) const {
        auto* push = QtControl<QPushButton>(window(), button);
        ASSERT_NE(push, nullptr) << button;
        QTest::mouseClick(push, Qt::LeftButton);
    }

    // A field's text as the framework reads it, and set as the program sets it.
    std::string TextOf(uint32_t slot) const {
        return editTextGetter(Accessor(slot).get(), 0).Std();
    }
    void SetText(uint32_t slot, const char* text) const {
        editTextSetter(Accessor(slot).get(), 0, String(text));
    }
    std::string RText() const { return TextOf(W::kREditSlot); }
    std::string ZText() const { return TextOf(W::kZEditSlot); }
    bool HelpVisible() const {
        return ControlVisibleGetter(Accessor(W::kDescribeTxtSlot).get(), 0);
    }

  private:
    Ref<Object> window_;
};

}  // namespace conversion_test
