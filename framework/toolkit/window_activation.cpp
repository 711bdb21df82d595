// When a window's activation is the user coming back to it. On X11 a window's menu bar lies
// inside the window, and reaching for it activates the window (a press on a bar of an
// inactive window, or the keyboard grab of its menu ending); on macOS the menu bar belongs to
// no window and using it activates nothing. So an activation that follows a press or key on
// the window's own menu bar is not yet the user coming back: its Activate waits for the
// user's next press or key in the window itself.
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include "framework/toolkit/application_filter.h"
#include "framework/toolkit/window_widget.h"

namespace {

// The window whose menu bar took the user's latest press or key; nil when it went elsewhere.
QPointer<QWidget>& WindowOfMenuBarInput() {
    static QPointer<QWidget> window;
    return window;
}

// `widget` or one of its ancestors within its window is a T.
template <class T>
bool Inside(QWidget* widget) {
    for (QWidget* at = widget; at; at = at->isWindow() ? nullptr : at->parentWidget())
        if (qobject_cast<T*>(at)) return true;
    return false;
}

bool IsUserInput(const QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
            return event->spontaneous();
        default:
            return false;
    }
}

// Sees each press and key of the user before the widget it goes to.
class UserInputWatcher : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!IsUserInput(event) || !watched->isWidgetType()) return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (Inside<QMenu>(widget)) return false;  // an open menu goes on with what opened it
        if (Inside<QMenuBar>(widget)) {
            WindowOfMenuBarInput() = widget->window();
            return false;
        }
        WindowOfMenuBarInput() = nullptr;
        if (auto* window = dynamic_cast<WindowWidget*>(widget->window())) window->UserCameBack();
        return false;
    }
};

}  // namespace

void WatchUserInput() {
    ToolkitFilterApplicationEvents<UserInputWatcher>();
}

bool LatestInputReachedMenuBarOf(const QWidget* window) {
    return window && WindowOfMenuBarInput() == window;
}
