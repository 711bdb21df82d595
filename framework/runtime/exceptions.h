// Failures: framework exceptions are runtime objects of a class hierarchy rooted at
// RuntimeException. One C++ type, RaisedException, carries a raised object through C++
// code, so that every Ref on the way out releases its reference. "Pending" is a
// RaisedException in flight; where the framework keeps one (the exception hook, the end
// of the program) it holds the object explicitly.
#pragma once

#include <exception>
#include <string>
#include <string_view>

#include "ref.h"
#include "string_data.h"

struct ClassRecord;

class RaisedException : public std::exception {
public:
    explicit RaisedException(Ref<Object> object);
    const Ref<Object>& ExceptionObject() const { return object_; }
    const char* what() const noexcept override { return description_.c_str(); }

private:
    Ref<Object> object_;
    std::string description_;  // "ClassName: message", for diagnostics
};

// The framework's exception classes. Each has a class record; Lookup builds it on demand.
#define FW_DECLARE_EXCEPTION_CLASS(Name)   \
    struct Name {                          \
        static ClassRecord* dunder_Lookup(); \
        static void dunder_ctblinit();     \
    };
FW_DECLARE_EXCEPTION_CLASS(RuntimeException)
FW_DECLARE_EXCEPTION_CLASS(NilObjectException)
FW_DECLARE_EXCEPTION_CLASS(IllegalCastException)
FW_DECLARE_EXCEPTION_CLASS(OutOfBoundsException)
FW_DECLARE_EXCEPTION_CLASS(StackOverflowException)
FW_DECLARE_EXCEPTION_CLASS(TypeMismatchException)
FW_DECLARE_EXCEPTION_CLASS(UnsupportedFormatException)
FW_DECLARE_EXCEPTION_CLASS(FunctionNotFoundException)
FW_DECLARE_EXCEPTION_CLASS(ThreadAccessingUIException)
FW_DECLARE_EXCEPTION_CLASS(EndException)
FW_DECLARE_EXCEPTION_CLASS(ThreadEndException)
FW_DECLARE_EXCEPTION_CLASS(UnsupportedOperationException)
#undef FW_DECLARE_EXCEPTION_CLASS

// A new exception object of `cls` (RuntimeException or a subclass) with its message.
Ref<Object> RuntimeNewException(ClassRecord* cls, std::string_view message);
// The Message and ErrorNumber properties of an exception object.
String RuntimeExceptionMessage(Object* exception);
int64_t RuntimeExceptionErrorNumber(Object* exception);

// What a raised object says of itself, wherever it is described or reported.
struct ExceptionText {
    std::string className;  // "nil" for none
    std::string message;    // a RuntimeException's Message; empty for any other object
    // "ClassName: message", or the class name alone when there is no message.
    std::string Line() const;
};
ExceptionText RuntimeExceptionText(Object* exception);

// Raises `object`: it becomes the pending exception until someone takes it.
[[noreturn]] void RuntimeRaise(Ref<Object> object);
// Raises a new exception of `cls` with `message`.
[[noreturn]] void RuntimeRaiseNew(ClassRecord* cls, std::string_view message);
// Raises the nil-object exception: an object was used that is nil.
[[noreturn]] void RaiseNilObjectException();
// Raises UnsupportedOperationException for a framework operation with no implementation on
// this platform. `operation` names it ("Window.DrawInto", "an array of 2 dimensions"); the
// message is "<operation> is not supported on this platform".
[[noreturn]] void RaiseUnsupported(std::string_view operation);
// Raises UnsupportedOperationException for an operation refused for the reason `message`
// gives, a whole sentence of its own ("Width is read-only").
[[noreturn]] void RaiseRefused(std::string_view message);

// Raises the nil-object exception when `object` is nil; returns it otherwise.
inline Object* RuntimeRequire(Object* object) {
    if (!object) RaiseNilObjectException();
    return object;
}

// Checks that the stack has room for another call; raises StackOverflowException when the
// current thread's stack is nearly used up.
void RuntimeStackCheck();
