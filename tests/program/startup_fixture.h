// Runs the whole program in this process, from RunProgram to its exit status, with steps
// scripted at fixed times after the event loop has started, as a person at the screen would
// act: looking at what is shown, clicking, pressing keys, choosing menu items, closing.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/toolkit/toolkit.h"
#include "framework/toolkit/toolkit_internal.h"
#include "shell/startup.h"

namespace startup_test {

class ProgramRunTest : public testing::Test {
protected:
    void SetUp() override {
        ResetProcess();
        RuntimeTraceEnable(true);
    }
    void TearDown() override {
        if (HasFailure()) {
            for (const std::string& box : ToolkitMessageBoxes()) std::fprintf(stderr, "message box: %s\n", box.c_str());
            for (const std::string& entry : RuntimeTraceLog()) std::fprintf(stderr, "trace: %s\n", entry.c_str());
        }
        context_.reset();
        RuntimeTraceEnable(false);
        StartupSetMenuBarSourceForTesting(nullptr);
        ResetProcess();
    }

    static void ResetProcess() {
        ToolkitResetForTesting();
        RuntimeResetForTesting();
        StartupResetForTesting();
        ToolkitClearMessageBoxes();
        QApplication::processEvents();
    }

    // Runs `step` `ms` milliseconds after the event loop has started.
    void At(int ms, std::function<void()> step) { steps_.push_back({ms, std::move(step)}); }

    // Runs the program; a run still going after `limitMs` is quit with status 99.
    int Run(int limitMs = 20000) {
        context_ = std::make_unique<QObject>();
        QObject* context = context_.get();
        QTimer::singleShot(0, context, [this, context, limitMs] {
            loopStarted_ = true;
            clock_.start();
            for (auto& [ms, step] : steps_) {
                QTimer::singleShot(ms, Qt::PreciseTimer, context, [step = step] {
                    try {
                        step();
                    } catch (const RaisedException& raised) {
                        ADD_FAILURE() << "a scripted step raised " << raised.what();
                    }
                });
            }
            QTimer::singleShot(limitMs, context, [] {
                ADD_FAILURE() << "the run did not end by itself";
                RuntimeApplicationQuit(99);
            });
        });
        char name[] = "corvane-conversion";
        char* argv[] = {name, nullptr};
        int status = RunProgram(1, argv);
        context_.reset();
        return status;
    }

    bool LoopStarted() const { return loopStarted_; }
    int64_t Elapsed() const { return clock_.elapsed(); }

    static Ref<Object> SplashWindow() { return RuntimeGetImplicitWindow("SplashWnd.SplashWnd"); }
    static Ref<Object> ConversionWindow() { return RuntimeGetImplicitWindow("MainWnd.MainWnd"); }
    // The top-level widget of a framework window, where a person clicks and types.
    static QWidget* TopLevel(Object* window) {
        QWidget* content = window ? ToolkitWindowWidget(window) : nullptr;
        return content ? content->window() : nullptr;
    }
    static bool Shown(const Ref<Object>& window) { return window && RuntimeWindowVisible(window.get()); }

    // The windows on screen now.
    static int VisibleWindows() {
        int shown = 0;
        for (int64_t i = 0; i < RuntimeWindowCount(); ++i)
            if (Shown(RuntimeWindowAt(i))) ++shown;
        return shown;
    }

    static std::string FieldText(Object* window, const char* name) {
        Ref<Object> field =
            RuntimeCallSlot<Ref<Object>, String>(window, Window::kControlByNameSlot, String(name));
        return field ? editTextGetter(field.get(), 0).Std() : "<no field " + std::string(name) + ">";
    }

    // The menu entry with `caption` in the window's menu bar, as a person finds it.
    static QAction* MenuAction(Object* window, const QString& caption) {
        QWidget* top = TopLevel(window);
        if (!top) return nullptr;
        for (QMenuBar* bar : top->findChildren<QMenuBar*>())
            if (QAction* action = FindAction(bar->actions(), caption)) return action;
        return nullptr;
    }
    static QAction* FindAction(const QList<QAction*>& actions, const QString& caption) {
        for (QAction* action : actions) {
            if (action->text() == caption) return action;
            if (QMenu* menu = action->menu())
                if (QAction* found = FindAction(menu->actions(), caption)) return found;
        }
        return nullptr;
    }
    static bool Choose(Object* window, const QString& caption) {
        QAction* action = MenuAction(window, caption);
        if (!action) {
            ADD_FAILURE() << "no menu item " << caption.toStdString();
            return false;
        }
        action->trigger();
        return true;
    }
    static void CloseWindow(Object* window) {
        if (QWidget* content = ToolkitWindowWidget(window)) content->window()->close();
    }

    // The index of the first trace entry that begins with `prefix`, or -1.
    static int TraceIndex(const std::vector<std::string>& trace, const std::string& prefix) {
        for (size_t i = 0; i < trace.size(); ++i)
            if (trace[i].rfind(prefix, 0) == 0) return static_cast<int>(i);
        return -1;
    }

private:
    std::vector<std::pair<int, std::function<void()>>> steps_;
    std::unique_ptr<QObject> context_;
    QElapsedTimer clock_;
    bool loopStarted_ = false;
};

}  // namespace startup_test
