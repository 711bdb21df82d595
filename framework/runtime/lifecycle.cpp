#include "lifecycle.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "call_trace.h"
#include "class_record.h"
#include "exceptions.h"
#include "runtime_testing.h"

namespace {

char* gNoArguments[] = {nullptr};

struct RuntimeState {
    std::thread::id mainThread = std::this_thread::get_id();
    int argumentCount = 0;
    char** arguments = gNoArguments;
    std::vector<std::string> initializersRun;
    double version = 0;
    ExceptionHelper helper = nullptr;
    void (*reporter)(Object*) = nullptr;
    int64_t unhandled = 0;
    std::vector<void (*)()> finalizers;
    int exitStatus = 0;
    bool tracing = false;
    std::vector<std::string> trace;
};

RuntimeState& State() {
    static auto* state = new RuntimeState();
    return *state;
}

}  // namespace

void RuntimeInit(int argc, char** argv) {
    RuntimeState& state = State();
    state.mainThread = std::this_thread::get_id();
    state.argumentCount = argv && argc > 0 ? argc : 0;
    state.arguments = argv ? argv : gNoArguments;
}

int& RuntimeArgumentCount() {
    return State().argumentCount;
}
char** RuntimeArgumentVector() {
    return State().arguments;
}

void RuntimePerformInitializers(std::span<const Initializer> table) {
    for (const Initializer& entry : table) {
        entry.function();
        State().initializersRun.emplace_back(entry.name);
    }
}

const std::vector<std::string>& RuntimeInitializersRun() { return State().initializersRun; }

void RuntimeSetVersion(double version) {
    State().version = version;
    if (State().tracing) RuntimeTrace("RuntimeSetVersion " + std::to_string(version));
}
double RuntimeVersion() { return State().version; }

void RuntimeSetExceptionHelper(GenericFn helper) {
    State().helper = reinterpret_cast<ExceptionHelper>(helper);
}
void under_RuntimeSetExceptionHelper(GenericFn helper) {
    RuntimeSetExceptionHelper(helper);
}

Ref<Object> RuntimeCallThroughExceptionHelper(void (*function)(void*), void* argument) {
    const ExceptionHelper helper = State().helper;
    if (!helper)
        RuntimeRaiseNew(FunctionNotFoundException::dunder_Lookup(),
                        "no exception hook is installed, so program code cannot run");
    return helper(reinterpret_cast<void*>(function), argument);
}

void RuntimeUnhandledException(Object* exception) {
    ++State().unhandled;
    if (State().tracing)
        RuntimeTrace("RuntimeUnhandledException " + RuntimeExceptionText(exception).className);
    if (State().reporter) {
        State().reporter(exception);
    } else {
        RuntimeReportToStandardError(exception);
    }
}

// One line after the program's name, as command-line programs report: what was raised and
// its message; a plain RuntimeException, whose class says nothing more, by its message alone.
void RuntimeReportToStandardError(Object* exception) {
    const ExceptionText said = RuntimeExceptionText(exception);
    const std::string line = said.message.empty() ? "an exception of class " + said.className +
                                                        " was not handled"
                             : said.className == "RuntimeException" ? said.message
                                                                    : said.Line();
    const RuntimeState& state = State();
    const std::string program = state.argumentCount > 0 && state.arguments[0]
                                    ? std::filesystem::path(state.arguments[0]).filename().string()
                                    : std::string();
    std::fprintf(stderr, "%s%s%s\n", program.c_str(), program.empty() ? "" : ": ", line.c_str());
}

void under_UnhandledException(Object* exception) {
    RuntimeUnhandledException(exception);
}

void RuntimeSetUnhandledExceptionReporter(void (*reporter)(Object*)) { State().reporter = reporter; }
int64_t RuntimeUnhandledExceptionCount() { return State().unhandled; }

void RuntimeAddFinalizer(void (*finalizer)()) { State().finalizers.push_back(finalizer); }

void RuntimePerformFinalizers() {
    auto& finalizers = State().finalizers;
    while (!finalizers.empty()) {
        auto finalizer = finalizers.back();
        finalizers.pop_back();
        finalizer();
    }
    if (State().tracing) RuntimeTrace("RuntimePerformFinalizers");
}

void RuntimeSetExitStatus(int status) { State().exitStatus = status; }

int RuntimeExit() {
    int status = State().exitStatus;
    if (State().unhandled > 0 && status == 0) status = 1;
    return status;
}

bool RuntimeIsMainThread() { return std::this_thread::get_id() == State().mainThread; }

void under_UITrap() {
    if (!RuntimeIsMainThread())
        RuntimeRaiseNew(ThreadAccessingUIException::dunder_Lookup(),
                        "user-interface operations may run only on the main thread");
}

void RuntimeTraceEnable(bool on) { State().tracing = on; }
bool RuntimeTraceEnabled() { return State().tracing; }
void RuntimeTrace(std::string_view entry) {
    if (State().tracing) State().trace.emplace_back(entry);
}
std::vector<std::string> RuntimeTraceLog() { return State().trace; }
void RuntimeTraceClear() { State().trace.clear(); }

void RuntimeResetForTesting() {
    RuntimeState& state = State();
    state.unhandled = 0;
    state.exitStatus = 0;
    state.finalizers.clear();
    state.trace.clear();
    state.initializersRun.clear();
}
