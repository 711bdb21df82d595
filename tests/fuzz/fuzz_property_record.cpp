// Fuzzes the property-record decoder with arbitrary bytes on real objects in a real window,
// on Qt's offscreen platform.
//
// The first byte chooses the object (its value modulo 7): a TextField, TextArea, Label,
// PushButton, Canvas or Timer placed on a new window, or the window itself; the rest is the
// record. A window's
// record is applied before the window is built, as its Layout event does; a control's after
// the control joined its window, as CreateControls does. The window is then closed and its
// widgets deleted. A framework exception is an accepted outcome; a crash, a sanitizer report,
// another C++ exception or an object left alive afterwards is a failure.
#include <QApplication>
#include <QEvent>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "framework/toolkit/toolkit.h"

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
    RuntimeFillInterfaceEntry(entry, _PaneChild::dunder_Lookup(), functions);
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
// A control's window is shown only for the top eighth of selector bytes: showing costs some
// thirty times as much as the rest of a run. A window's own record says whether it is shown.
constexpr uint8_t kFirstShownSelector = 224;
static_assert(kFirstShownSelector % kTargetCount == 0, "a shown selector keeps its target");

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

// Runs `statement`; a framework exception is an accepted outcome.
template <class F>
void Accepting(F&& statement) {
    try {
        statement();
    } catch (const RaisedException&) {
    }
}

// Places a new control of `target`'s class on `window` the way CreateControls does.
Ref<Object> PlaceControl(Object* window, Target target) {
    constexpr const char* kName = "Control1";
    Ref<Object> made = WindowAllocateObject(window, ControlClass(target));
    if (target != Target::Timer) RectControlDefaultConstructor(made.get());
    WindowAddControl(window, kName, made.get());
    return RuntimeControlReference(window, kName);
}

void ApplyRecord(Target target, bool shown, const String& record) {
    Ref<Object> window = RuntimeNewObject(Window::dunder_Lookup());
    if (target == Target::Window) {
        Accepting([&] { RuntimeMassPropertySetter(window.get(), record); });
        Accepting([&] { WindowDefaultConstructor(window.get()); });
    } else {
        if (!shown) RuntimeHideWindow(window.get());  // built without being shown
        WindowDefaultConstructor(window.get());
        Ref<Object> control = PlaceControl(window.get(), target);
        Accepting([&] { RuntimeMassPropertySetter(control.get(), record); });
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
    ToolkitRecordMessageBoxes(true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const auto target = static_cast<Target>(data[0] % kTargetCount);
    const bool shown = data[0] >= kFirstShownSelector;
    const String record(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));

    const int64_t liveBefore = RuntimeLiveObjectCount();
    ApplyRecord(target, shown, record);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const int64_t liveAfter = RuntimeLiveObjectCount();
    if (liveAfter != liveBefore) {
        std::fprintf(stderr, "fuzz_property_record: %lld objects left alive\n",
                     static_cast<long long>(liveAfter - liveBefore));
        __builtin_trap();
    }
    return 0;
}
