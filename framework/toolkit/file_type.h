// File types. Converting a FileType to text registers it with the framework unless it is
// registered already, and yields its Name; setting any property drops the registration.
#pragma once

#include "framework/runtime/runtime.h"

struct FileType {
    static ClassRecord* dunder_Lookup();
    static void dunder_ctblinit();
};

// Property setters.
void FileTypeNameSetter(Object* type, int32_t offset, String value);
void FileTypeExtensionsSetter(Object* type, int32_t offset, String value);
void FileTypeMacTypeSetter(Object* type, int32_t offset, String value);
void FileTypeMacCreatorSetter(Object* type, int32_t offset, String value);
void FileTypeMimeTypeSetter(Object* type, int32_t offset, String value);
void FileTypeImportedSetter(Object* type, int32_t offset, bool value);
void FileTypeConformsToSetter(Object* type, int32_t offset, String value);
void FileTypeUTISetter(Object* type, int32_t offset, String value);
// Operator_Convert to text: registers the type (once) and returns its Name.
String FileTypeToString(Object* type);

// Registers a type with the framework.
void RuntimeRegisterFileType(String name, String creator, String macType, String extensions,
                             String uti);
