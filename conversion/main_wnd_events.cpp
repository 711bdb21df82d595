// The conversion window's own events, the About command and the events query.
#include "conversion/main_wnd.h"
#include "conversion/main_wnd_accessors.h"
#include "shell/window_design/accessors.h"
#include "splash/splash_wnd.h"

namespace MainWnd {
namespace {

constexpr const char* kAboutItemName = "About";
constexpr const char* kAboutSignature = "(  ) as Boolean";

}  // namespace

void MainWnd::Event_Open(Object* self) {
    EmptyField(self, kREditSlot);
    EmptyField(self, kZEditSlot);
    ShowOrHide(&::SplashWnd::SplashWnd, Window::kHideSlot);
}

// Every activation hides the splash window, so an About box left open goes away.
void MainWnd::Event_Activate(Object* /*self*/) {
    ShowOrHide(&::SplashWnd::SplashWnd, Window::kHideSlot);
}

// Closing the conversion window ends the application.
void MainWnd::Event_Close(Object* /*self*/) {
    RuntimeApplicationQuit(0);
}

void MainWnd::Event_EnableMenuItems(Object* self) {
    Ref<Object> about = RequireAccessor(self, kAboutSlot);
    RuntimeMenuItemEnabledSetter(about.get(), 0, true);
}

// Binds the menu item named "About" to _About_Action of the window, as its virtual table
// holds it now.
void MainWnd::AddMenuHandlers(Object* self, Object* window) {
    Ref<Object> target = RuntimeCheckCast(window, MainWnd::dunder_Lookup());
    RuntimeRequire(target.get());
    Ref<Object> delegate =
        RuntimeCreateDelegate(DelegateInvocation<bool>(), target->vtable[kAboutActionSlot],
                              target.get(), kAboutSignature, 0);
    void* method = reinterpret_cast<void*>(RuntimeDelegateFunction(delegate.get()));
    RuntimeCallSlot<void, String, void*>(self, Window::kAddMenuHandlerSlot, String(kAboutItemName),
                                         method);
}

bool MainWnd::Event_MouseDown(Object* /*self*/, int64_t /*x*/, int64_t /*y*/) {
    return false;
}

void MainWnd::Event_MouseUp(Object* /*self*/, int64_t /*x*/, int64_t /*y*/) {}

// The splash window serves as the About box.
bool MainWnd::under_About_Action(Object* /*self*/) {
    ShowOrHide(&::SplashWnd::SplashWnd, Window::kShowSlot);
    return false;
}

bool MainWnd::IsEventImplemented(Object* self, String eventName) {
    return under_RuntimeIsEventHandled(self, String(MainWnd::kQualifiedName), eventName, true);
}

}  // namespace MainWnd
