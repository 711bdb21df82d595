// A conversion window per test, opened through its accessor and closed afterwards, with
// helpers that drive its controls' Qt widgets as a person would.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <string>

#include "conversion/main_wnd.h"
#include "framework/toolkit/toolkit_internal.h"
#include "shell/shell_testing.h"

namespace conversion_test {

using W = struct MainWnd::MainWnd;

inline Ref<Object> ControlOf(Object* window, const char* name) {
    return RuntimeCallSlot<Ref<Object>, String>(window, Window::kControlByNameSlot, String(name));
}

// The Qt widget of a control (the toolkit names each widget after its control), or the T
// inside it.
template <class T = QWidget>
T* QtControl(Object* window, const char* name) {
    QWidget* top = ToolkitWindowWidget(window);
    QWidget* widget = top ? top->findChild<QWidget*>(QString::fromUtf8(name)) : nullptr;
    if (auto* exact = qobject_cast<T*>(widget)) return exact;
    return widget ? widget->findChild<T*>() : nullptr;
}

// Closes the conversion and the splash window, if open, and lets Qt delete them.
inline void CloseBothWindows() {
    for (const char* name : {"MainWnd.MainWnd", "SplashWnd.SplashWnd"})
        if (Ref<Object> window = RuntimeGetImplicitWindow(String(name)))
            RuntimeCloseWindow(window.get());
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

inline bool SplashShown() {
    Ref<Object> splash = RuntimeGetImplicitWindow(String("SplashWnd.SplashWnd"));
    return splash && RuntimeWindowVisible(splash.get());
}

// The item captioned `caption` in a menu of the window's menu bar, the menu told that it opens
// (which enables its items) as when a person opens it; nil when there is none.
inline QAction* MenuItemOf(QWidget* top, const QString& caption) {
    QMenuBar* bar = top ? top->findChild<QMenuBar*>() : nullptr;
    for (QAction* menu : bar ? bar->actions() : QList<QAction*>()) {
        if (!menu->menu()) continue;
        emit menu->menu()->aboutToShow();
        for (QAction* item : menu->menu()->actions())
            if (item->text() == caption) return item;
    }
    return nullptr;
}

class ConversionWindowTest : public testing::Test {
  protected:
    void SetUp() override {
        RuntimeSetExitStatus(0);
        window_ = MainWnd::MainWnd();
        ASSERT_TRUE(window_);
        QApplication::processEvents();
        ToolkitResetBeepCount();
        ToolkitClearMessageBoxes();
    }
    void TearDown() override {
        window_.Reset();
        CloseBothWindows();
        RuntimeSetExitStatus(0);
    }

    Object* window() const { return window_.get(); }
    QWidget* Top() const { return ToolkitWindowWidget(window())->window(); }
    Ref<Object> Accessor(uint32_t slot) const {
        return RuntimeCallSlot<Ref<Object>>(window(), slot);
    }
    void Type(const char* field, const std::string& text) const {
        auto* edit = QtControl<QLineEdit>(window(), field);
        ASSERT_NE(edit, nullptr) << field;
        QTest::keyClicks(edit, QString::fromStdString(text));
    }
    void Click(const char* button) const {
        auto* push = QtControl<QPushButton>(window(), button);
        ASSERT_NE(push, nullptr) << button;
        QTest::mouseClick(push, Qt::LeftButton);
    }
    // A field's text as the framework reads it.
    std::string TextOf(uint32_t slot) const {
        return editTextGetter(Accessor(slot).get(), 0).Std();
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
