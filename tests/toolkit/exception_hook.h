// Program code runs through the exception hook that a program's start-up installs. The
// toolkit's tests start no program, so they install a hook of their own with the same
// contract: a raised RuntimeException comes back as the result, anything else stays pending.
#pragma once

#include "framework/runtime/runtime.h"

inline Ref<Object> TestExceptionHook(void* function, void* argument) {
    try {
        reinterpret_cast<void (*)(void*)>(function)(argument);
    } catch (const RaisedException& raised) {
        if (!RuntimeObjectIsa(raised.ExceptionObject().get(), RuntimeException::dunder_Lookup()))
            throw;
        return raised.ExceptionObject();
    }
    return nullptr;
}

inline void InstallTestExceptionHook() {
    RuntimeSetExceptionHelper(AsGenericFn(&TestExceptionHook));
}
