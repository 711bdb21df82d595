// The Qt side of a framework window: one top-level widget holding an optional menu bar and,
// below it, the content area in which the controls stand at their design coordinates.
#pragma once

#include <QEventLoop>
#include <QMenuBar>
#include <QPointer>
#include <QWidget>

#include "framework/runtime/runtime.h"

struct WindowImpl;

// The content area. Presses on it, and those its children do not take, are the window's
// MouseDown; its coordinates are the window's content coordinates.
class WindowContent : public QWidget {
  public:
    WindowContent(WindowImpl* impl, QWidget* parent);
    void Detach() { impl_ = nullptr; }

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    WindowImpl* impl_;
};

class WindowWidget : public QWidget {
  public:
    explicit WindowWidget(WindowImpl* impl);
    ~WindowWidget() override;

    WindowImpl* Impl() const { return impl_; }
    WindowContent* Content() const { return content_; }
    QMenuBar* MenuBar() const { return menuBar_; }
    QMenuBar* EnsureMenuBar();
    void RemoveMenuBar();
    // Height the menu bar takes above the content at `width`: 0 without one, with a hidden
    // one, or when the platform shows it outside the window.
    int MenuBarHeight(int width) const;
    // Places the menu bar and the content within the widget's current size.
    void LayoutChildren();

    // The window has closed: the widget keeps the window object (and so its controls)
    // until it is deleted, so nothing goes away under a handler that is still running.
    void HoldUntilDestroyed(Ref<Object> window);
    // The window object is going: nothing of it may be touched from here on.
    void Detach();

    bool MoveFocus(bool next) { return focusNextPrevChild(next); }
    // The user pressed or typed into this window outside its menu bar: an activation that
    // waited for that is announced now.
    void UserCameBack();
    // Runs a local event loop until the widget is hidden or destroyed.
    void RunModal();

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool Live() const;

    WindowImpl* impl_;
    WindowContent* content_;
    QPointer<QMenuBar> menuBar_;
    QObject* menuBarObject_ = nullptr;  // the same bar, for comparisons only
    int laidOutMenuBarHeight_ = -1;
    bool activationPending_ = false;  // active, its Activate waiting for the user
    Ref<Object> held_;
    QPointer<QEventLoop> modalLoop_;
};

// Whether `impl` is a window that raises events: constructed and not closed.
bool WindowRaisesEvents(const WindowImpl* impl);

// ---- window_activation.cpp ----------------------------------------------------------------
// Watches the user's presses and keys (once per application).
void WatchUserInput();
// Whether the user's latest press or key went to the menu bar of `window` (a top level), or
// to a menu opened from it: reaching for the bar, not coming back to the window.
bool LatestInputReachedMenuBarOf(const QWidget* window);
