// FileType: a file type the application declares. Converting one to text registers it with
// the framework (once) and yields its Name; setting any property drops the registration, so
// a type converted after its last change is registered with all its values.
#include "framework/toolkit/file_type.h"

#include <algorithm>

#include "framework/runtime/call_trace.h"
#include "framework/toolkit/toolkit_testing.h"

namespace {

ClassCell gFileType{nullptr, &FileType::dunder_ctblinit};

// clang-format off
// FileType's instance fields (64 bytes).
namespace file_type_field {
constexpr int32_t kName = -8;          // String
constexpr int32_t kExtensions = -16;   // String: ";"-separated, as the program writes them
constexpr int32_t kMacType = -24;      // String: four characters
constexpr int32_t kMacCreator = -32;   // String: four characters
constexpr int32_t kMimeType = -40;     // String
constexpr int32_t kConformsTo = -48;   // String
constexpr int32_t kUTI = -56;          // String
constexpr int32_t kRegistration = -60; // int32: the registration's number, 0 when none
constexpr int32_t kImported = -61;     // bool
constexpr uint32_t kSize = 64;
constexpr int32_t kTexts[] = {kName, kExtensions, kMacType, kMacCreator, kMimeType, kConformsTo, kUTI};
}  // namespace file_type_field
// clang-format on

using namespace file_type_field;

struct Registration {
    int32_t number;  // 0 for one made directly through RuntimeRegisterFileType
    RegisteredFileType type;
};

std::vector<Registration>& Registrations() {
    static auto* registrations = new std::vector<Registration>();
    return *registrations;
}

int32_t Register(const String& name, const String& creator, const String& macType,
                 const String& extensions, const String& uti, bool numbered) {
    static int32_t lastNumber = 0;
    int32_t number = numbered ? ++lastNumber : 0;
    Registrations().push_back(
        {number, {name.Std(), creator.Std(), macType.Std(), extensions.Std(), uti.Std()}});
    if (RuntimeTraceEnabled())
        RuntimeTrace("RuntimeRegisterFileType " + name.Std() + "|" + creator.Std() + "|" +
                     macType.Std() + "|" + extensions.Std() + "|" + uti.Std());
    return number;
}

void DropRegistration(Object* type) {
    int32_t number = std::exchange(RuntimeRequire(type)->Field<int32_t>(kRegistration), 0);
    if (number == 0) return;
    auto& registrations = Registrations();
    registrations.erase(
        std::remove_if(registrations.begin(), registrations.end(),
                       [number](const Registration& r) { return r.number == number; }),
        registrations.end());
}

String TextField(Object* type, int32_t offset) {
    return props::String::Get(type, offset);
}

void SetTextField(Object* type, int32_t offset, const String& value) {
    DropRegistration(type);
    props::String::Set(type, offset, value);
}

void FileTypeExit(Object* type) {
    DropRegistration(type);
    for (int32_t offset : kTexts) props::String::Set(type, offset, String());
}

bool ImportedGetter(Object* type, int32_t) {
    return RuntimeRequire(type)->Field<bool>(kImported);
}
bool RegisteredGetter(Object* type, int32_t) {
    return RuntimeRequire(type)->Field<int32_t>(kRegistration) != 0;
}

template <int32_t Offset>
String TextGetter(Object* type, int32_t) {
    return TextField(type, Offset);
}

PropertyRow TextProperty(const char* name, int32_t offset, String (*get)(Object*, int32_t),
                         void (*set)(Object*, int32_t, String)) {
    return StoredProperty<String>(name, kStoredWritable, "s", offset, get, set);
}

}  // namespace

void FileTypeNameSetter(Object* type, int32_t, String value) {
    SetTextField(type, kName, value);
}
void FileTypeExtensionsSetter(Object* type, int32_t, String value) {
    SetTextField(type, kExtensions, value);
}
void FileTypeMacTypeSetter(Object* type, int32_t, String value) {
    SetTextField(type, kMacType, value);
}
void FileTypeMacCreatorSetter(Object* type, int32_t, String value) {
    SetTextField(type, kMacCreator, value);
}
void FileTypeMimeTypeSetter(Object* type, int32_t, String value) {
    SetTextField(type, kMimeType, value);
}
void FileTypeConformsToSetter(Object* type, int32_t, String value) {
    SetTextField(type, kConformsTo, value);
}
void FileTypeUTISetter(Object* type, int32_t, String value) {
    SetTextField(type, kUTI, value);
}
void FileTypeImportedSetter(Object* type, int32_t, bool value) {
    DropRegistration(type);
    type->Field<bool>(kImported) = value;
}

String FileTypeToString(Object* type) {
    RuntimeRequire(type);
    if (type->Field<int32_t>(kRegistration) == 0) {
        type->Field<int32_t>(kRegistration) = Register(
            TextField(type, kName), TextField(type, kMacCreator), TextField(type, kMacType),
            TextField(type, kExtensions), TextField(type, kUTI), true);
    }
    return TextField(type, kName);
}

void RuntimeRegisterFileType(String name, String creator, String macType, String extensions,
                             String uti) {
    Register(name, creator, macType, extensions, uti, false);
}

std::vector<RegisteredFileType> RuntimeRegisteredFileTypes() {
    std::vector<RegisteredFileType> types;
    for (const Registration& registration : Registrations()) types.push_back(registration.type);
    return types;
}

void FileType::dunder_ctblinit() {
    static const MethodRow FileType_methods[] = {
        Method("Operator_Convert", kFlagPublic, "%s%", &FileTypeToString),
        Method("__Exit", kPrivateHidden, "%%", &FileTypeExit),
    };
    // clang-format off
    // Properties: name, field offset, getter, setter; every setter drops the registration.
    static const PropertyRow FileType_properties[] = {
        TextProperty("ConformsTo", kConformsTo, &TextGetter<kConformsTo>, &FileTypeConformsToSetter),
        TextProperty("Extensions", kExtensions, &TextGetter<kExtensions>, &FileTypeExtensionsSetter),
        StoredProperty<bool>("Imported", kStoredWritable, "b", kImported, &ImportedGetter, &FileTypeImportedSetter),
        TextProperty("MacCreator", kMacCreator, &TextGetter<kMacCreator>, &FileTypeMacCreatorSetter),
        TextProperty("MacType",    kMacType,    &TextGetter<kMacType>,    &FileTypeMacTypeSetter),
        TextProperty("MimeType",   kMimeType,   &TextGetter<kMimeType>,   &FileTypeMimeTypeSetter),
        TextProperty("Name",       kName,       &TextGetter<kName>,       &FileTypeNameSetter),
        TextProperty("UTI",        kUTI,        &TextGetter<kUTI>,        &FileTypeUTISetter),
        ComputedProperty<bool>("_mRegistered", kFlagPrivate | kFlagHidden | kFlagComputed, "b", &RegisteredGetter, nullptr),
    };
    // clang-format on
    static const ClassSpec spec{.name = "FileType",
                                .superclass = nullptr,
                                .methodCount = 2,
                                .interfaceCount = 0,
                                .eventCount = 0,
                                .propertyCount = 9,
                                .instanceDataSize = kSize,
                                .slotCount = 0,
                                .exit = &FileTypeExit,
                                .methods = FileType_methods,
                                .properties = FileType_properties};
    RuntimeBuildClass(gFileType, spec);
}

ClassRecord* FileType::dunder_Lookup() {
    return RuntimeLookupClass(gFileType);
}
