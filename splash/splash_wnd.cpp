#include "splash/splash_wnd.h"

#include "conversion/main_wnd.h"
#include "shell/credits.h"
#include "shell/pictures.h"
#include "shell/window_design/accessors.h"
#include "shell/window_design/records.h"
#include "splash/timer_wrapper.h"

namespace SplashWnd {
namespace {

using namespace Design;

ClassCell gSplashCell{nullptr, &SplashWnd::dunder_ctblinit};  // SplashWnd.SplashWnd.__ctbl

constexpr const char* kQualifiedName = "SplashWnd.SplashWnd";

// Position, size, locks and focus order (window content 330 x 165).
// clang-format off
//                           name           left top width height locks      tab stop   autoDeact
constexpr Place kStaticText2{"StaticText2",   20,  92, 290,  18, kLockNone,   1, false, true};
constexpr Place kCanvas1    {"Canvas1",       20,  46, 290,  34, kLockNone,   2, true,  true};
// clang-format on

// StaticText2: the credit line, in a small font below the picture.
constexpr LabelLook kCreditLook{kCreditBlue, kCreditLine, false, false, 9.0f};

// Timer1: one run, 4000 ms after the record is applied.
constexpr RecordEntry kTimer1Record[] = {
    {"RunMode", Int(1)},
    {"Period", Int(4000)},
};

// Timer1's Action runs the method that stands in the window's slot 43 (Timer1_Action).
constexpr Binding kTimer1Bindings[] = {
    {Timer::kActionEvent, SplashWnd::kTimer1ActionSlot, "( Timer )", &kActionShape}};

}  // namespace

// The window: 330 × 165, a plain box without title or close button, visible at creation.
String WindowRecord() {
    return Design::WindowRecord(
        {.width = 330, .height = 165, .type = 2, .title = "", .hasCloseButton = false});
}
String StaticText2Record() {
    return LabelRecord(kStaticText2, kCreditLook);
}
// Canvas1: the picture band; its backdrop is set before this record is applied.
String Canvas1Record() {
    return CanvasRecord(kCanvas1, true);
}
String Timer1Record() {
    return EncodePropertyRecord(kTimer1Record);
}

// The timer is made of the wrapper class, through its own constructor slot, and fetched back
// as a Timer.
std::span<const ControlDesign> ControlDesigns() {
    // clang-format off
    static const ControlDesign designs[] = {
        // name         class                           record, backdrop picture, bindings
        {"StaticText2", &Label::dunder_Lookup,           StaticText2Record(), nullptr, {}},
        {"Canvas1",     &Canvas::dunder_Lookup,          Canvas1Record(), &under_x_corvane2::corvane2, {}},
        {"Timer1",      &_wrapper_Timer1::dunder_Lookup, Timer1Record(), nullptr, kTimer1Bindings,
                        _wrapper_Timer1::kConstructorSlot, &Timer::dunder_Lookup},
    };
    // clang-format on
    return designs;
}

void SplashWnd::Layout(Object* self) {
    under_SetProperties(RuntimeRequire(self), WindowRecord());
}

void SplashWnd::CreateControls(Object* self) {
    RuntimeCallSlot<void>(self, kCreateControls0Slot);
}

void SplashWnd::under_CreateControls0(Object* self) {
    Design::CreateControls(self, ControlDesigns());
}

void SplashWnd::Timer1_Action(Object* self, Object* timer) {
    (void)self;
    (void)timer;
    ShowOrHide(&::SplashWnd::SplashWnd, Window::kHideSlot);
    ShowOrHide(&::MainWnd::MainWnd, Window::kShowSlot);  // created here on first use
}

bool SplashWnd::Event_MouseDown(Object* self, int64_t x, int64_t y) {
    (void)self;
    (void)x;
    (void)y;
    ShowOrHide(&::SplashWnd::SplashWnd, Window::kHideSlot);
    return false;
}

bool SplashWnd::Event_KeyDown(Object* self, String key) {
    (void)self;
    (void)key;
    ShowOrHide(&::SplashWnd::SplashWnd, Window::kHideSlot);
    return false;
}

bool SplashWnd::IsEventImplemented(Object* self, String eventName) {
    return under_RuntimeIsEventHandled(self, String(kQualifiedName), eventName, true);
}

void SplashWnd::dunder_ctblinit() {
    // clang-format off
    // Own method entries, after Window's 41 re-stated ones, in slot order:
    //     name                  flags                 signature     function                           slot
    //     (accessor rows: the form, the name looked up and the class checked; signature, slot)
    static const MethodRow SplashWnd_methods[] = {
        Method("Layout",             kPublicVirtual,       "%%",         &SplashWnd::Layout,                kLayoutSlot),
        Method("CreateControls",     kPublicVirtual,       "%%",         &SplashWnd::CreateControls,        kCreateControlsSlot),
        Method("_CreateControls0",   kPublicVirtualHidden, "%%",         &SplashWnd::under_CreateControls0, kCreateControls0Slot),
        AccessorRow<ControlByName, "StaticText2", Label>("%o<Label>%",  kStaticText2Slot),
        AccessorRow<ControlByName, "Canvas1", Canvas>(   "%o<Canvas>%", kCanvas1Slot),
        AccessorRow<ControlByName, "Timer1", Timer>(     "%o<Timer>%",  kTimer1Slot),
        Method("Timer1_Action",      kPublicVirtual,       "%%o<Timer>", &SplashWnd::Timer1_Action,         kTimer1ActionSlot),
        Method("Event_MouseDown",    kPublicVirtual,       "%b%i8i8",    &SplashWnd::Event_MouseDown,       kMouseDownSlot),
        Method("Event_KeyDown",      kPublicVirtual,       "%b%s",       &SplashWnd::Event_KeyDown,         kKeyDownSlot),
        Method("IsEventImplemented", kPrivate,             "%b%s",       &SplashWnd::IsEventImplemented),
    };
    // The four window events the class handles, with the slot of each handler.
    static const HandlerRow SplashWnd_handlers[] = {
        {Window::kCreateControls, kCreateControlsSlot},
        {Window::kKeyDown,        kKeyDownSlot},
        {Window::kLayout,         kLayoutSlot},
        {Window::kMouseDown,      kMouseDownSlot},
    };
    // clang-format on
    static const ClassSpec spec{.name = kQualifiedName,
                                .superclass = &Window::dunder_Lookup,
                                .methodCount = 51,
                                .interfaceCount = 0,
                                .eventCount = Window::kEventCount,
                                .propertyCount = Window::kPropertyCount,  // no own property
                                .instanceDataSize = Window::kInstanceDataSize,
                                .slotCount = kSlotCount,
                                .methods = SplashWnd_methods,
                                .handlers = SplashWnd_handlers};
    RuntimeBuildClass(gSplashCell, spec);
}

ClassRecord* SplashWnd::dunder_Lookup() {
    return RuntimeLookupClass(gSplashCell);
}

Ref<Object> SplashWnd() {
    return ImplicitWindow(kQualifiedName, &SplashWnd::dunder_Lookup);
}

}  // namespace SplashWnd
