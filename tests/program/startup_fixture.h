// Runs the whole program in this process, from RunProgram to its exit status, with steps
// scripted at fixed times after the event loop has started, acting as a person at the screen.
#pragma once

#include <gtest/gtest.h>

#include <QTimer>
#include <functional>
#include <vector>

#include "conversion_fixture.h"
#include "shell/startup.h"

class ProgramRunTest : public testing::Test {
  protected:
    // A run installs its own exception hook: none is left from the tests before it, and the
    // one the start-up installs stays for the tests after it.
    void SetUp() override {
        ResetProcess();
        RuntimeSetExceptionHelper(nullptr);
        RuntimeTraceEnable(true);
    }
    void TearDown() override {
        RuntimeTraceEnable(false);
        ResetProcess();
        RuntimeSetExceptionHelper(AsGenericFn(&under_CallFunctionWithExceptionHandling));
    }
    static void ResetProcess() {
        ToolkitResetForTesting();
        RuntimeResetForTesting();
        StartupResetForTesting();
        ToolkitClearMessageBoxes();
    }

    // Runs `step` `ms` milliseconds after the event loop has started.
    void At(int ms, std::function<void()> step) { steps_.emplace_back(ms, std::move(step)); }

    // Runs the program; a run still going after `limitMs` is quit with status 99.
    int Run(int limitMs = 20000) {
        QObject context;  // takes every pending step with it when the run is over
        QTimer::singleShot(0, &context, [&] {
            loopStarted_ = true;
            for (auto& [ms, step] : steps_)
                QTimer::singleShot(ms, Qt::PreciseTimer, &context, step);
            QTimer::singleShot(limitMs, &context, [] {
                ADD_FAILURE() << "the run did not end by itself";
                RuntimeApplicationQuit(99);
            });
        });
        static char name[] = "corvane-conversion";
        static char* argv[] = {name, nullptr};  // the runtime keeps them, as main's
        return RunProgram(1, argv);
    }

    static Ref<Object> Splash() { return RuntimeGetImplicitWindow("SplashWnd.SplashWnd"); }
    static Ref<Object> Conversion() { return RuntimeGetImplicitWindow("MainWnd.MainWnd"); }
    static bool Shown(const Ref<Object>& window) {
        return window && RuntimeWindowVisible(window.get());
    }
    static QWidget* TopLevel(Object* window) {
        QWidget* content = window ? ToolkitWindowWidget(window) : nullptr;
        return content ? content->window() : nullptr;
    }
    static void Close(Object* window) {
        if (QWidget* top = TopLevel(window)) top->close();
    }

    // Chooses the item captioned `caption` from a menu of the window's menu bar.
    static bool Choose(Object* window, const QString& caption) {
        QAction* item = conversion_test::MenuItemOf(TopLevel(window), caption);
        if (!item) ADD_FAILURE() << "no menu item " << caption.toStdString();
        return item && (item->trigger(), true);
    }

    bool loopStarted_ = false;

  private:
    std::vector<std::pair<int, std::function<void()>>> steps_;
};
