#include "class_builder.h"

#include <string>
#include <vector>

#include "exceptions.h"
#include "property_accessors.h"
#include "signature.h"

namespace {

[[noreturn]] void BadRecord(const ClassSpec& spec, const std::string& why) {
    RuntimeRaiseNew(UnsupportedFormatException::dunder_Lookup(),
                    std::string("class ") + spec.name + ": " + why);
}

void CheckCount(const ClassSpec& spec, const char* what, size_t written, uint32_t declared) {
    if (written != declared) {
        BadRecord(spec, std::to_string(written) + " " + what + " written, " +
                            std::to_string(declared) + " declared");
    }
}

void WriteAttributes(MethodEntry* table, uint32_t index, bool hidden) {
    AttributeEntry* attributes = RuntimeAllocateAttributeTable(table, index, hidden ? 1 : 0);
    if (hidden) attributes[0] = {"Hidden", "", 0};
}

void WriteAttributes(PropertyEntry* table, uint32_t index, bool hidden) {
    AttributeEntry* attributes = RuntimeAllocateAttributeTable(table, index, hidden ? 1 : 0);
    if (hidden) attributes[0] = {"Hidden", "", 0};
}

void WriteVtable(ClassRecord* record, ClassRecord* super, const ClassSpec& spec) {
    record->slotCount = spec.slotCount;
    record->vtable = RuntimeNewVtable(spec.slotCount);
    uint32_t inherited = super ? super->slotCount : 0;
    if (inherited > spec.slotCount) BadRecord(spec, "fewer slots than the superclass");
    for (uint32_t i = 0; i < inherited; ++i) record->vtable[i] = super->vtable[i];
    for (const MethodRow& row : spec.methods) {
        if (row.slot == kNoSlot) continue;
        if (row.slot >= spec.slotCount) BadRecord(spec, std::string(row.name) + ": slot out of range");
        if (row.slot >= inherited && record->vtable[row.slot])
            BadRecord(spec, std::string(row.name) + ": slot " + std::to_string(row.slot) + " given twice");
        record->vtable[row.slot] = row.function;
    }
    if (spec.kind & kKindInterface) return;
    for (uint32_t i = 0; i < spec.slotCount; ++i)
        if (!record->vtable[i]) BadRecord(spec, "virtual slot " + std::to_string(i) + " is empty");
}

void WriteMethod(ClassRecord* record, uint32_t index, const MethodRow& row, const ClassSpec& spec) {
    if (((row.flags & kFlagShared) != 0) != row.shared)
        BadRecord(spec, std::string(row.name) + ": shared flag and function form disagree");
    if (((row.flags & kFlagVirtual) != 0) != (row.slot != kNoSlot))
        BadRecord(spec, std::string(row.name) + ": virtual flag and slot disagree");
    MethodEntry& entry = record->methods[index];
    entry.name = row.name;
    entry.signature = row.signature;
    entry.function = row.function;
    if (row.invoker) {
        entry.invoker = row.invoker(row.signature);
    } else {
        ParseSignature(row.signature);  // interface methods: the text is still checked
    }
    entry.slot = row.slot;
    entry.flags = row.flags;
    WriteAttributes(record->methods, index, (row.flags & kFlagHidden) != 0);
}

void WriteMethods(ClassRecord* record, ClassRecord* super, const ClassSpec& spec) {
    uint32_t index = 0;
    uint32_t inheritedSlots = super ? super->slotCount : 0;
    // The table is sized from the declared count: it must hold every re-stated entry.
    if (super && super->methodCount > spec.methodCount)
        CheckCount(spec, "method entries", super->methodCount, spec.methodCount);
    if (super) {
        for (uint32_t i = 0; i < super->methodCount; ++i, ++index) {
            const MethodEntry& inherited = super->methods[i];
            const MethodRow* override = nullptr;
            for (const MethodRow& row : spec.methods)
                if (row.slot != kNoSlot && row.slot < inheritedSlots && row.slot == inherited.slot)
                    override = &row;
            if (override) {
                WriteMethod(record, index, *override, spec);
                continue;
            }
            // Re-stated: the superclass's name, signature and invoker; its hidden mark and
            // attributes are not carried; a virtual entry names what its slot holds now.
            MethodEntry& entry = record->methods[index];
            entry = inherited;
            entry.flags = inherited.flags & ~kFlagHidden;
            if (inherited.slot != kNoSlot) entry.function = record->vtable[inherited.slot];
            WriteAttributes(record->methods, index, false);
        }
    }
    for (const MethodRow& row : spec.methods) {
        if (row.slot != kNoSlot && row.slot < inheritedSlots) continue;  // written above
        if (index >= spec.methodCount) BadRecord(spec, "more method rows than declared");
        WriteMethod(record, index++, row, spec);
    }
    CheckCount(spec, "method entries", index, spec.methodCount);
}

void WriteEvents(ClassRecord* record, ClassRecord* super, const ClassSpec& spec) {
    uint32_t inherited = super ? super->eventCount : 0;
    CheckCount(spec, "events", inherited + spec.events.size(), spec.eventCount);
    for (size_t i = 0; i < spec.events.size(); ++i) record->events[inherited + i].name = spec.events[i].name;
    for (const HandlerRow& handler : spec.handlers) {
        if (handler.eventIndex >= spec.eventCount || handler.slot >= spec.slotCount)
            BadRecord(spec, "a handler row is out of range");
        record->events[handler.eventIndex].handler = record->vtable[handler.slot];
    }
}

// The property's accessors must take the value its type text names: a Double accessor under
// "i8" would read the eight bytes of an Integer as a floating-point number.
void CheckAccessorTypes(const ClassSpec& spec, const PropertyRow& row, const TypeCode& type) {
    const std::string entry = std::string(row.name) + ": ";
    if (!row.getter) BadRecord(spec, entry + "no getter");
    TypeCodeTest takes =
        row.valueType ? row.valueType : RuntimeBoxedAccessorTypes(row.boxedGetter, row.boxedSetter);
    if (!takes) BadRecord(spec, entry + "the type its accessors take is not stated");
    if (!takes(type))
        BadRecord(spec,
                  entry + "the type text \"" + row.typeText + "\" is not what its accessors take");
}

// A stored field lies wholly inside the class's own part of the instance data, below the
// superclass's fields and above the start of the block, aligned to its size.
struct FieldSpan {
    const char* name;
    int64_t begin, end;  // offsets from the object reference, end excluded
};

FieldSpan CheckFieldPlace(const ClassSpec& spec, ClassRecord* super, const PropertyRow& row,
                          const TypeCode& type) {
    const std::string entry = std::string(row.name) + ": ";
    const auto size = static_cast<int64_t>(type.FieldSize());
    const int64_t begin = row.fieldOffset, end = begin + size;
    const int64_t ownTop = -static_cast<int64_t>(super ? super->instanceDataSize : 0);
    if (begin < -static_cast<int64_t>(spec.instanceDataSize) || end > 0)
        BadRecord(spec, entry + "field offset outside the instance data");
    if (end > ownTop) BadRecord(spec, entry + "field overlaps the superclass's fields");
    if (-begin % static_cast<int64_t>(type.FieldAlignment()) != 0)
        BadRecord(spec, entry + "field offset " + std::to_string(begin) + " is not aligned to " +
                            std::to_string(type.FieldAlignment()) + " bytes");
    return {row.name, begin, end};
}

// A row reads or writes a field when it is stored, and also, whatever its flags say, when it
// is given one of the framework's field accessors: those read and write at the object
// reference plus the row's offset, so that offset must be a field's.
bool UsesField(const PropertyRow& row) {
    return !(row.flags & kFlagComputed) || RuntimeIsFieldAccessor(row.getter) ||
           RuntimeIsFieldAccessor(row.setter);
}

// A computed property has no field, so its entry's offset is 0.
void CheckNoFieldOffset(const ClassSpec& spec, const PropertyRow& row) {
    if (row.fieldOffset != 0)
        BadRecord(spec, std::string(row.name) + ": a computed property has field offset " +
                            std::to_string(row.fieldOffset) + ", not 0");
}

void CheckNoOverlap(const ClassSpec& spec, const std::vector<FieldSpan>& fields) {
    for (size_t i = 0; i < fields.size(); ++i)
        for (size_t j = 0; j < i; ++j)
            if (fields[i].begin < fields[j].end && fields[j].begin < fields[i].end)
                BadRecord(spec, std::string(fields[i].name) + ": field overlaps that of " +
                                    fields[j].name);
}

void WriteProperties(ClassRecord* record, ClassRecord* super, const ClassSpec& spec) {
    uint32_t inherited = super ? super->propertyCount : 0;
    CheckCount(spec, "property entries", inherited + spec.properties.size(), spec.propertyCount);
    std::vector<FieldSpan> fields;
    for (size_t i = 0; i < spec.properties.size(); ++i) {
        const PropertyRow& row = spec.properties[i];
        const TypeCode type = ParseTypeCode(row.typeText);
        CheckAccessorTypes(spec, row, type);
        if (UsesField(row)) {
            fields.push_back(CheckFieldPlace(spec, super, row, type));
        } else {
            CheckNoFieldOffset(spec, row);
        }
        uint32_t index = inherited + static_cast<uint32_t>(i);
        PropertyEntry& entry = record->properties[index];
        entry.name = row.name;
        entry.typeText = row.typeText;
        entry.fieldOffset = row.fieldOffset;
        entry.flags = row.flags;
        WriteAttributes(record->properties, index, (row.flags & kFlagHidden) != 0);
        entry.getter = row.getter;
        entry.setter = row.setter;
        entry.boxedGetter = row.boxedGetter;
        entry.boxedSetter = row.boxedSetter;
        entry.declaringClass = record;
    }
    CheckNoOverlap(spec, fields);
}

// Records whose building was refused. They are kept, not freed: a lookup during the build
// (through a cycle) may already have handed the record out.
std::vector<ClassRecord*>& RefusedRecords() {
    static auto* refused = new std::vector<ClassRecord*>();
    return *refused;
}

void FillRecord(ClassRecord* record, ClassRecord* super, const ClassSpec& spec) {
    record->name = spec.name;
    record->kind = spec.kind;
    record->instanceDataSize = spec.instanceDataSize;
    record->reserved = 0;
    if (super && spec.instanceDataSize < super->instanceDataSize)
        BadRecord(spec, "instance data smaller than the superclass's");
    record->init = spec.init;
    record->destructor = spec.destructor;
    record->exit = spec.exit;
    WriteVtable(record, super, spec);
    WriteMethods(record, super, spec);
    WriteEvents(record, super, spec);
    WriteProperties(record, super, spec);
    CheckCount(spec, "interfaces", spec.interfaces.size(), spec.interfaceCount);
    for (size_t i = 0; i < spec.interfaces.size(); ++i) spec.interfaces[i].fill(&record->interfaces[i]);
}

}  // namespace

ClassRecord* RuntimeBuildClass(ClassCell& cell, const ClassSpec& spec) {
    RuntimeStackCheck();
    if (cell.record) return cell.record;
    ClassRecord* super = spec.superclass ? spec.superclass() : nullptr;
    if (cell.record) return cell.record;  // built on the way, through a cycle of lookups
    ClassRecord* record = RuntimeNewClass(super, spec.methodCount, spec.interfaceCount, spec.eventCount,
                                          0, spec.propertyCount, 0);
    cell.record = record;
    try {
        FillRecord(record, super, spec);
    } catch (...) {
        // A refused record leaves the cell empty, so every later lookup fails the same way
        // instead of handing out a half-written record.
        if (cell.record == record) cell.record = nullptr;
        RefusedRecords().push_back(record);
        throw;
    }
    RuntimeRegisterClass(record);
    return record;
}

void RuntimeFillInterfaceEntry(InterfaceEntry* entry, ClassRecord* interface,
                               std::span<const GenericFn> functions) {
    entry->interface = interface;
    entry->methodCount = static_cast<uint32_t>(functions.size());
    entry->table = RuntimeNewVtable(entry->methodCount);
    for (size_t i = 0; i < functions.size(); ++i) entry->table[i] = functions[i];
}
