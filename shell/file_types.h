// The module FileTypes: the file types the application declares to the framework. It holds
// one member, Text (Mac type "TEXT"), built and registered once at start-up.
#pragma once

#include "framework/toolkit/toolkit.h"

namespace FileTypes {

// FileTypes.Text: the text file type with a new reference for the caller; nil before
// _Initialize has run.
Ref<Object> Text();

// FileTypes._Initialize: builds the member, appends it to the list of all file types and
// registers it with the framework. Start-up calls it once, before the application object.
void under_Initialize();

// Start-up initialisers of the module's two variables.
struct pAllFileTypes {
    static void dunder_Init();  // a new empty array of file types
};
struct pText {
    static void dunder_Init();  // nothing: the member starts nil
};

}  // namespace FileTypes
