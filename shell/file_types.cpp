#include "shell/file_types.h"

#include <utility>

#include "shell/shell_testing.h"

namespace FileTypes {
namespace {

// The module's variables. Each holds one counted reference until the process ends; they are
// plain pointers so that nothing is released after the framework has gone.
Object* gText = nullptr;          // FileTypes.pText
Object* gAllFileTypes = nullptr;  // FileTypes.pAllFileTypes: one-dimensional array of FileType

// Stores `value` (retained) in `cell` and releases what the cell held.
void Store(Object*& cell, Object* value) {
    RuntimeRetain(value);
    RuntimeRelease(std::exchange(cell, value));
}

// The Text member's properties, in the order in which they are set. Every one is set before
// the type is registered: setting a property drops an existing registration.
void SetTextProperties(Object* type) {
    FileTypeNameSetter(type, 0, String("text"));
    FileTypeExtensionsSetter(type, 0, String(""));
    FileTypeMacTypeSetter(type, 0, String("TEXT"));
    FileTypeMacCreatorSetter(type, 0, String("R*ch"));
    FileTypeMimeTypeSetter(type, 0, String(""));
    FileTypeImportedSetter(type, 0, true);
    FileTypeConformsToSetter(type, 0, String(""));
}

}  // namespace

void pAllFileTypes::dunder_Init() {
    Ref<Object> empty = CreateArray(1, -1);
    Store(gAllFileTypes, empty.get());
}

void pText::dunder_Init() {}

Ref<Object> Text() {
    return Ref<Object>::Retain(gText);
}

void under_Initialize() {
    // A FileType is a plain object: no constructor runs.
    Ref<Object> type = RuntimeNewObject(FileType::dunder_Lookup());
    Store(gText, type.get());

    SetTextProperties(RuntimeRequire(gText));

    Object* all = RuntimeRequire(gAllFileTypes);
    RuntimeArrayInsert(all, RuntimeArrayUbound(all) + 1, gText);

    // Converting the member to text registers it; the text itself (its Name) is not needed.
    Ref<Object> member = Text();
    String registeredName = FileTypeToString(RuntimeRequire(member.get()));
    (void)registeredName;
}

Ref<Object> AllFileTypesForTesting() {
    return Ref<Object>::Retain(gAllFileTypes);
}

void ResetForTesting() {
    RuntimeRelease(std::exchange(gText, nullptr));
    RuntimeRelease(std::exchange(gAllFileTypes, nullptr));
}

}  // namespace FileTypes
