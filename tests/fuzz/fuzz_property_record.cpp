// Fuzzes the property-record decoder with arbitrary bytes on real objects in a real window,
// on Qt's offscreen platform.
//
// The first byte chooses the object (its low seven bits modulo 7): a TextField, TextArea,
// Label, PushButton, Canvas or Timer placed on a new window, or the window itself; its high
// bit chooses when the record is applied; the rest is the record. The window is then closed
// and its widgets deleted. A framework exception is an accepted outcome; a crash, a sanitizer
// report, another C++ exception, an exception escaping a window event or an object left alive
// afterwards is a failure.
#include <QApplication>
#include <QEvent>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "framework/toolkit/toolkit.h"
#include "framework/toolkit/toolkit_testing.h"
#include "tests/toolkit/exception_hook.h"

namespace {

// ---- a timer that can be placed on a window, as a program's timer subclass is ---------------

constexpr int32_t kOwnerOffset = -56;  // a retained WeakRef to the window, after Timer's fields
constexpr uint32_t kPlacedTimerDataSize = 56;

void PlacedTimerSetWindow(Object* self, Object* window) {
    Ref<Object> weak = RuntimeNewWeakRef(window);
    props::WeakRef::Set(self, kOwnerOffset, weak.get());
}
Ref<Object> PlacedTimerWindow(Object* self) {
    Object* weak = self->Field<Object*>(kOwnerOffset);
    return weak ? WeakRef::Value(weak) : nullptr;
}
int64_t PlacedTimerIndex(Object*) {
    return 0;
}
void PlacedTimerSetIndex(Object*, int64_t) {}
void PlacedTimerExit(Object* self) {
    props::WeakRef::Set(self, kOwnerOffset, nullptr);
}

void FillPaneChild(InterfaceEntry* entry) {
    static const GenericFn functions[] = {
        AsGenericFn(&PlacedTimerSetWindow), AsGenericFn(&PlacedTimerWindow),
        AsGenericFn(&PlacedTimerIndex), AsGenericFn(&PlacedTimerSetIndex)};
    RuntimeFillInterfaceEntry(entry, under_PaneChild::dunder_Lookup(), functions);
}

void PlacedTimerInit();
ClassCell gPlacedTimer{nullptr, &PlacedTimerInit};

void PlacedTimerInit() {
    static const InterfaceRow interfaces[] = {{&FillPaneChild}};
    static const ClassSpec spec{.name = "Fuzz.PlacedTimer",
                                .superclass = &Timer::dunder_Lookup,
                                .methodCount = Timer::kMethodCount,
                                .interfaceCount = 1,
                                .eventCount = 1,
                                .propertyCount = 7,
                                .instanceDataSize = kPlacedTimerDataSize,
                                .slotCount = Timer::kSlotCount,
                                .exit = &PlacedTimerExit,
                                .interfaces = interfaces};
    RuntimeBuildClass(gPlacedTimer, spec);
}

// ---- the objects a record is applied to ---------------------------------------------------

enum class Target : uint8_t { TextField, TextArea, Label, PushButton, Canvas, Timer, Window };
constexpr int kTargetCount = 7;
// Set in the first byte: the record is applied to a window already built and shown, as a
// program sets properties at run time; clear: while the window is being built, as its Layout
// (for the window) or CreateControls (for a control) applies its design record.
constexpr uint8_t kOnBuiltWindow = 0x80;

ClassRecord* ControlClass(Target target) {
    switch (target) {
        case Target::TextField:
            return TextField::dunder_Lookup();
        case Target::TextArea:
            return TextArea::dunder_Lookup();
        case Target::Label:
            return Label::dunder_Lookup();
        case Target::PushButton:
            return PushButton::dunder_Lookup();
        case Target::Canvas:
            return Canvas::dunder_Lookup();
        case Target::Timer:
            return RuntimeLookupClass(gPlacedTimer);
        case Target::Window:
            break;
    }
    return nullptr;
}

// The run in progress, for the window's event handlers.
struct Run {
    Target target;
    bool onBuiltWindow;
    const String* record;
};
Run gRun;

// Applies the record; a framework exception is an accepted outcome.
void ApplyRecord(Object* object) {
    try {
        RuntimeMassPropertySetter(object, *gRun.record);
    } catch (const RaisedException&) {
    }
}

// Places a new control of the run's class on `window` the way CreateControls does.
Ref<Object> PlaceControl(Object* window) {
    constexpr const char* kName = "Control1";
    Ref<Object> made = WindowAllocateObject(window, ControlClass(gRun.target));
    if (gRun.target != Target::Timer) RectControlDefaultConstructor(made.get());
    WindowAddControl(window, kName, made.get());
    return RuntimeControlReference(window, kName);
}

// ---- a window class whose Layout and CreateControls apply the record -------------------------

void FuzzLayout(Object* window) {
    if (!gRun.onBuiltWindow && gRun.target == Target::Window) ApplyRecord(window);
}
void FuzzCreateControls(Object* window) {
    if (!gRun.onBuiltWindow && gRun.target != Target::Window)
        ApplyRecord(PlaceControl(window).get());
}

constexpr uint32_t kLayoutSlot = Window::kSlotCount;
constexpr uint32_t kCreateControlsSlot = Window::kSlotCount + 1;

void FuzzWindowInit();
ClassCell gFuzzWindow{nullptr, &FuzzWindowInit};

void FuzzWindowInit() {
    static const MethodRow methods[] = {
        Method("Layout", kPublicVirtual, "%%", &FuzzLayout, kLayoutSlot),
        Method("CreateControls", kPublicVirtual, "%%", &FuzzCreateControls, kCreateControlsSlot),
    };
    static const HandlerRow handlers[] = {{Window::kLayout, kLayoutSlot},
                                          {Window::kCreateControls, kCreateControlsSlot}};
    static const ClassSpec spec{.name = "Fuzz.RecordWindow",
                                .superclass = &Window::dunder_Lookup,
                                .methodCount = Window::kMethodCount + 2,
                                .interfaceCount = 0,
                                .eventCount = Window::kEventCount,
                                .propertyCount = Window::kPropertyCount,
                                .instanceDataSize = Window::kInstanceDataSize,
                                .slotCount = Window::kSlotCount + 2,
                                .methods = methods,
                                .handlers = handlers};
    RuntimeBuildClass(gFuzzWindow, spec);
}

void BuildWindowAndApply() {
    Ref<Object> window = RuntimeNewObject(RuntimeLookupClass(gFuzzWindow));
    RuntimeCallSlot<void>(window.get(), Window::kConstructorSlot);
    if (gRun.onBuiltWindow) {
        if (gRun.target == Target::Window) {
            ApplyRecord(window.get());
        } else {
            ApplyRecord(PlaceControl(window.get()).get());
        }
    }
    RuntimeCloseWindow(window.get());
}

void Quiet(QtMsgType type, const QMessageLogContext&, const QString& message) {
    // Qt's warnings about odd sizes and the like are expected here; fatal ones still end the run.
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "Qt fatal: %s\n", qPrintable(message));
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(&Quiet);
    new QApplication(*argc, *argv);  // lives as long as the process
    RuntimeInit(*argc, *argv);
    RuntimeInitExternalClasses();
    InstallTestExceptionHook();
    ToolkitRecordMessageBoxes(true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const String record(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    gRun = Run{static_cast<Target>((data[0] & ~kOnBuiltWindow) % kTargetCount),
               (data[0] & kOnBuiltWindow) != 0, &record};

    const int64_t liveBefore = RuntimeLiveObjectCount();
    const int64_t unhandledBefore = RuntimeUnhandledExceptionCount();
    BuildWindowAndApply();
    QCoreApplication::sendPostedEvents();  // what the event loop would have delivered by now
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (RuntimeUnhandledExceptionCount() != unhandledBefore) {
        std::fprintf(stderr, "fuzz_property_record: an exception escaped a window event\n");
        __builtin_trap();
    }
    const int64_t liveAfter = RuntimeLiveObjectCount();
    if (liveAfter != liveBefore) {
        std::fprintf(stderr, "fuzz_property_record: %lld objects left alive\n",
                     static_cast<long long>(liveAfter - liveBefore));
        __builtin_trap();
    }
    return 0;
}
