#include "exceptions.h"

#include <pthread.h>
#include <sys/auxv.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "class_builder.h"
#include "class_record.h"
#include "property_accessors.h"

namespace {

// Every exception object holds its message and error number in RuntimeException's fields.
constexpr int32_t kMessageOffset = -8;
constexpr int32_t kErrorNumberOffset = -16;
constexpr uint32_t kExceptionDataSize = 16;

void ExceptionExit(Object* self) {
    StringData* message = std::exchange(self->Field<StringData*>(kMessageOffset), nullptr);
    String::AdoptRaw(message);  // released here
}

// RuntimeException's property table; subclasses inherit it.
const PropertyRow kRuntimeExceptionProperties[] = {
    // name           flags             type  offset
    StoredProperty<String>("Message", kStoredWritable, "s", kMessageOffset),
    StoredProperty<int64_t>("ErrorNumber", kStoredWritable, "i8", kErrorNumberOffset),
};

ClassCell gRuntimeException{nullptr, &RuntimeException::dunder_ctblinit};

}  // namespace

void RuntimeException::dunder_ctblinit() {
    static const ClassSpec spec{
        .name = "RuntimeException",
        .superclass = nullptr,
        .methodCount = 0,
        .interfaceCount = 0,
        .eventCount = 0,
        .propertyCount = 2,
        .instanceDataSize = kExceptionDataSize,
        .slotCount = 0,
        .exit = &ExceptionExit,
        .properties = kRuntimeExceptionProperties,
    };
    RuntimeBuildClass(gRuntimeException, spec);
}
ClassRecord* RuntimeException::dunder_Lookup() { return RuntimeLookupClass(gRuntimeException); }

// Each subclass adds nothing but its name and place in the hierarchy.
#define FW_DEFINE_EXCEPTION_CLASS(Name, Super)                                       \
    namespace {                                                                      \
    ClassCell g##Name{nullptr, &Name::dunder_ctblinit};                              \
    }                                                                                \
    void Name::dunder_ctblinit() {                                                   \
        static const ClassSpec spec{.name = #Name,                                   \
                                    .superclass = &Super::dunder_Lookup,             \
                                    .methodCount = 0,                                \
                                    .interfaceCount = 0,                             \
                                    .eventCount = 0,                                 \
                                    .propertyCount = 2,                              \
                                    .instanceDataSize = kExceptionDataSize,          \
                                    .slotCount = 0};                                 \
        RuntimeBuildClass(g##Name, spec);                                            \
    }                                                                                \
    ClassRecord* Name::dunder_Lookup() { return RuntimeLookupClass(g##Name); }

FW_DEFINE_EXCEPTION_CLASS(NilObjectException, RuntimeException)
FW_DEFINE_EXCEPTION_CLASS(IllegalCastException, RuntimeException)
FW_DEFINE_EXCEPTION_CLASS(OutOfBoundsException, RuntimeException)
FW_DEFINE_EXCEPTION_CLASS(StackOverflowException, RuntimeException)
FW_DEFINE_EXCEPTION_CLASS(TypeMismatchException, RuntimeException)
FW_DEFINE_EXCEPTION_CLASS(UnsupportedFormatException, RuntimeException)
FW_DEFINE_EXCEPTION_CLASS(FunctionNotFoundException, RuntimeException)
FW_DEFINE_EXCEPTION_CLASS(ThreadAccessingUIException, RuntimeException)
FW_DEFINE_EXCEPTION_CLASS(EndException, RuntimeException)
FW_DEFINE_EXCEPTION_CLASS(ThreadEndException, RuntimeException)
FW_DEFINE_EXCEPTION_CLASS(UnsupportedOperationException, RuntimeException)
#undef FW_DEFINE_EXCEPTION_CLASS

RaisedException::RaisedException(Ref<Object> object)
    : object_(std::move(object)), description_(RuntimeExceptionText(object_.get()).Line()) {}

Ref<Object> RuntimeNewException(ClassRecord* cls, std::string_view message) {
    Ref<Object> exception = RuntimeNewObject(cls);
    props::String::Set(exception.get(), kMessageOffset, String(message));
    return exception;
}

String RuntimeExceptionMessage(Object* exception) {
    return props::String::Get(exception, kMessageOffset);
}

int64_t RuntimeExceptionErrorNumber(Object* exception) {
    return props::Integer::Get(exception, kErrorNumberOffset);
}

std::string ExceptionText::Line() const {
    return message.empty() ? className : className + ": " + message;
}

ExceptionText RuntimeExceptionText(Object* exception) {
    if (!exception) return {"nil", ""};
    ExceptionText text{exception->cls->name, ""};
    if (RuntimeObjectIsa(exception, RuntimeException::dunder_Lookup()))
        text.message = RuntimeExceptionMessage(exception).Std();
    return text;
}

void RuntimeRaise(Ref<Object> object) { throw RaisedException(std::move(object)); }

void RuntimeRaiseNew(ClassRecord* cls, std::string_view message) {
    RuntimeRaise(RuntimeNewException(cls, message));
}

void RaiseNilObjectException() {
    RuntimeRaiseNew(NilObjectException::dunder_Lookup(), "an object that is nil was used");
}

void RaiseUnsupported(std::string_view operation) {
    RaiseRefused(std::string(operation) + " is not supported on this platform");
}

void RaiseRefused(std::string_view message) {
    RuntimeRaiseNew(UnsupportedOperationException::dunder_Lookup(), message);
}

// ---- the stack check -----------------------------------------------------------------

namespace {

// Room that must stay free below the current frame: enough for the deepest call chain of
// the framework and Qt below a program function.
constexpr size_t kStackReserve = 256 * 1024;

struct StackBounds {
    char* low = nullptr;  // lowest usable address
};

// The main thread's stack may grow to RLIMIT_STACK below the top of its mapping, whose last
// bytes hold the program's file name (AT_EXECFN). pthread_getattr_np finds the same bound,
// but reads /proc/self/maps for the top, which costs far more than the check it serves.
char* MainThreadStackLow() {
    const auto* name = reinterpret_cast<const char*>(getauxval(AT_EXECFN));
    rlimit limit{};
    if (!name || getrlimit(RLIMIT_STACK, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return nullptr;
    const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    const uintptr_t top = (reinterpret_cast<uintptr_t>(name) + std::strlen(name) + page) & ~(page - 1);
    const auto here = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
    if (limit.rlim_cur >= top || here >= top || top - here >= limit.rlim_cur) return nullptr;
    return reinterpret_cast<char*>(top - limit.rlim_cur);
}

StackBounds ReadStackBounds() {
    StackBounds bounds;
    if (gettid() == getpid()) {
        bounds.low = MainThreadStackLow();
        if (bounds.low) return bounds;
    }
    pthread_attr_t attr;
    if (pthread_getattr_np(pthread_self(), &attr) == 0) {
        void* address = nullptr;
        size_t size = 0;
        if (pthread_attr_getstack(&attr, &address, &size) == 0)
            bounds.low = static_cast<char*>(address);
        pthread_attr_destroy(&attr);
    }
    return bounds;
}

}  // namespace

void RuntimeStackCheck() {
    thread_local StackBounds bounds = ReadStackBounds();
    // Set while the exception is being made: the first one builds StackOverflowException's
    // record, and the record builder checks the stack too. That work runs in the reserve.
    thread_local bool raising = false;
    if (raising) return;
    char* position = static_cast<char*>(__builtin_frame_address(0));
    if (bounds.low && position < bounds.low + kStackReserve) {
        raising = true;
        Ref<Object> exception;
        try {
            exception = RuntimeNewException(StackOverflowException::dunder_Lookup(),
                                            "the stack is exhausted");
        } catch (...) {
            raising = false;
            throw;
        }
        raising = false;
        RuntimeRaise(std::move(exception));
    }
}
