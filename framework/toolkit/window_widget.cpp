#include "framework/toolkit/window_widget.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QWindowStateChangeEvent>

#include "framework/toolkit/key_text.h"
#include "framework/toolkit/program_code.h"
#include "framework/toolkit/toolkit_internal.h"
#include "framework/toolkit/window.h"
#include "framework/toolkit/window_impl.h"

bool WindowRaisesEvents(const WindowImpl* impl) {
    return impl && impl->constructed && !impl->closed;
}

// ---- the content area -------------------------------------------------------------------

WindowContent::WindowContent(WindowImpl* impl, QWidget* parent) : QWidget(parent), impl_(impl) {}

void WindowContent::mousePressEvent(QMouseEvent* event) {
    event->ignore();
    if (!WindowRaisesEvents(impl_)) return;
    const QPoint at = event->position().toPoint();
    bool taken = RaiseClassEvent<bool>(impl_->self, Window::kMouseDown, false, int64_t{at.x()},
                                       int64_t{at.y()});
    if (!impl_) return;  // the window object went during the handler
    impl_->mouseDownTaken = taken;
    event->setAccepted(taken);
}

void WindowContent::mouseReleaseEvent(QMouseEvent* event) {
    event->ignore();
    if (!impl_ || !impl_->mouseDownTaken) return;
    impl_->mouseDownTaken = false;
    event->accept();
    if (!WindowRaisesEvents(impl_)) return;
    const QPoint at = event->position().toPoint();
    SendClassEvent(impl_->self, Window::kMouseUp, int64_t{at.x()}, int64_t{at.y()});
}

// Qt follows the second press of a double click with a double-click event; MouseDown has
// been raised for that press already.
void WindowContent::mouseDoubleClickEvent(QMouseEvent* event) {
    event->setAccepted(impl_ && impl_->mouseDownTaken);
}

void WindowContent::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    if (WindowRaisesEvents(impl_)) SendClassEvent(impl_->self, Window::kMouseEnter);
}

void WindowContent::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    if (WindowRaisesEvents(impl_)) SendClassEvent(impl_->self, Window::kMouseExit);
}

// ---- the top-level widget ---------------------------------------------------------------

WindowWidget::WindowWidget(WindowImpl* impl)
    : QWidget(nullptr), impl_(impl), content_(new WindowContent(impl, this)) {
    WatchUserInput();
}

WindowWidget::~WindowWidget() {
    if (modalLoop_) modalLoop_->quit();
    if (impl_) {
        impl_->widget = nullptr;
        content_->Detach();
        // The controls go while their widgets, children of the content, still stand.
        std::vector<NamedControl> controls = std::move(impl_->controls);
        impl_->controls.clear();
        impl_ = nullptr;
        controls.clear();
    }
    held_.Reset();  // may be the last reference to the window object
}

bool WindowWidget::Live() const {
    return WindowRaisesEvents(impl_);
}

QMenuBar* WindowWidget::EnsureMenuBar() {
    if (!menuBar_) {
        menuBar_ = new QMenuBar(this);
        menuBarObject_ = menuBar_.data();
        menuBar_->installEventFilter(this);
    }
    return menuBar_;
}

void WindowWidget::RemoveMenuBar() {
    if (menuBar_) menuBar_->removeEventFilter(this);
    delete menuBar_.data();
    menuBar_ = nullptr;
    menuBarObject_ = nullptr;
}

int WindowWidget::MenuBarHeight(int width) const {
    if (!menuBar_ || menuBar_->isHidden() || menuBar_->isNativeMenuBar()) return 0;
    int height = menuBar_->heightForWidth(width);
    return height > 0 ? height : menuBar_->sizeHint().height();
}

void WindowWidget::LayoutChildren() {
    const int top = MenuBarHeight(width());
    if (menuBar_) menuBar_->setGeometry(0, 0, width(), top);
    content_->setGeometry(0, top, width(), height() - top);
    laidOutMenuBarHeight_ = top;
}

void WindowWidget::UserCameBack() {
    if (!activationPending_ || !isActiveWindow()) return;
    activationPending_ = false;
    if (Live()) SendClassEvent(impl_->self, Window::kActivate);
}

void WindowWidget::HoldUntilDestroyed(Ref<Object> window) {
    held_ = std::move(window);
}

void WindowWidget::Detach() {
    impl_ = nullptr;
    content_->Detach();
    if (modalLoop_) modalLoop_->quit();
}

void WindowWidget::RunModal() {
    QEventLoop loop;
    modalLoop_ = &loop;
    QPointer<WindowWidget> alive(this);
    loop.exec(QEventLoop::DialogExec);
    if (alive) modalLoop_ = nullptr;
}

void WindowWidget::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (!Live()) return;
    Object* window = impl_->self;
    switch (event->type()) {
        case QEvent::ActivationChange:
            if (isActiveWindow()) {
                WindowRegistryMoveToFront(window);
                activationPending_ = LatestInputReachedMenuBarOf(this);
                if (!activationPending_) SendClassEvent(window, Window::kActivate);
                if (Live()) ToolkitRaiseEnableMenuItems(window);
            } else {
                activationPending_ = false;
                SendClassEvent(window, Window::kDeactivate);
            }
            break;
        case QEvent::WindowStateChange: {
            constexpr Qt::WindowStates kEnlargedOrSmall = Qt::WindowMinimized | Qt::WindowMaximized;
            const Qt::WindowStates before =
                static_cast<QWindowStateChangeEvent*>(event)->oldState();
            const Qt::WindowStates now = windowState();
            if ((now & Qt::WindowMinimized) && !(before & Qt::WindowMinimized)) {
                SendClassEvent(window, Window::kMinimize);
            } else if ((now & Qt::WindowMaximized) && !(before & Qt::WindowMaximized)) {
                SendClassEvent(window, Window::kMaximize);
            } else if (!(now & kEnlargedOrSmall) && (before & kEnlargedOrSmall)) {
                SendClassEvent(window, Window::kRestore);
            }
            break;
        }
        case QEvent::ModifiedChange:
            SendClassEvent(window, Window::kContentsChanged);
            break;
        default:
            break;
    }
}

void WindowWidget::closeEvent(QCloseEvent* event) {
    // The framework hides and deletes the widget itself once the window has closed.
    event->ignore();
    if (!impl_ || impl_->closed || impl_->closing) return;
    Ref<Object> window = Ref<Object>::Retain(impl_->self);
    // A window designed without a close button is not the user's to close: a request from
    // the window system (Alt+F4, WM_DELETE_WINDOW) only dismisses it, as a click away would.
    // It stays open with its controls and timers, for the program to show again or close.
    if (!impl_->hasCloseButton) {
        RunProgramCode([&] { ShowOrHideWindow(window.get(), false, false); });
        return;
    }
    RunProgramCode([&] { CloseWindow(window.get(), false); });
}

void WindowWidget::keyPressEvent(QKeyEvent* event) {
    if (Live()) {
        String key = KeyTextForEvent(*event, this);
        if (!key.Empty() && RaiseClassEvent<bool>(impl_->self, Window::kKeyDown, false, key)) {
            event->accept();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

void WindowWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutChildren();
    if (!Live() || !event->oldSize().isValid() || event->oldSize() == event->size()) return;
    // A size the user (or the platform) chose becomes the window's Width and Height.
    impl_->width = content_->width();
    impl_->height = content_->height();
    SendClassEvent(impl_->self, Window::kResized);
}

void WindowWidget::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (Live() && isVisible() && event->oldPos() != event->pos())
        SendClassEvent(impl_->self, Window::kMoved);
}

void WindowWidget::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (modalLoop_) modalLoop_->quit();
}

bool WindowWidget::eventFilter(QObject* watched, QEvent* event) {
    // A menu bar that gains or loses items may change height: the content moves with it.
    // Compared as plain QObjects: a menu bar being destroyed is no QMenuBar any more, and
    // the guarded pointer's cast to one would be invalid then.
    if (watched == menuBarObject_ && !menuBar_.isNull() && impl_) {
        switch (event->type()) {
            case QEvent::ActionAdded:
            case QEvent::ActionRemoved:
            case QEvent::LayoutRequest:
                if (MenuBarHeight(width()) != laidOutMenuBarHeight_) ApplyWindowGeometry(*impl_);
                break;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}
