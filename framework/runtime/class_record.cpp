#include "class_record.h"

#include <map>
#include <string>

#include "array.h"

namespace {

std::map<std::string, ClassRecord*, std::less<>>& Registry() {
    static auto* registry = new std::map<std::string, ClassRecord*, std::less<>>();
    return *registry;
}

}  // namespace

bool RuntimeSameNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

ClassRecord* RuntimeNewClass(ClassRecord* superclass, uint32_t methodCount, uint32_t interfaceCount,
                             uint32_t eventCount, uint32_t zero, uint32_t propertyCount,
                             uint32_t classAttributeCount) {
    (void)zero;
    auto* record = new ClassRecord{};
    record->superclass = superclass;
    record->methodCount = methodCount;
    record->interfaceCount = interfaceCount;
    record->eventCount = eventCount;
    record->propertyCount = propertyCount;
    record->classAttributeCount = classAttributeCount;
    record->methods = new MethodEntry[methodCount]{};
    record->events = new EventEntry[eventCount]{};
    record->properties = new PropertyEntry[propertyCount]{};
    record->classAttributes = new AttributeEntry[classAttributeCount]{};
    record->interfaces = new InterfaceEntry[interfaceCount]{};
    for (uint32_t i = 0; i < methodCount; ++i) record->methods[i].slot = kNoSlot;
    if (superclass) {
        // The superclass's events and properties keep their indexes; handlers stay its own.
        for (uint32_t i = 0; i < superclass->eventCount && i < eventCount; ++i)
            record->events[i].name = superclass->events[i].name;
        for (uint32_t i = 0; i < superclass->propertyCount && i < propertyCount; ++i)
            record->properties[i] = superclass->properties[i];
    }
    return record;
}

GenericFn* RuntimeNewVtable(uint32_t count) { return new GenericFn[count]{}; }

namespace {
AttributeEntry* AllocateAttributes(AttributeTable*& link, uint32_t count) {
    link = new AttributeTable{new AttributeEntry[count]{}, count};
    return link->entries;
}
}  // namespace

AttributeEntry* RuntimeAllocateAttributeTable(MethodEntry* table, uint32_t entry, uint32_t count) {
    return AllocateAttributes(table[entry].attributes, count);
}

AttributeEntry* RuntimeAllocateAttributeTable(PropertyEntry* table, uint32_t entry,
                                              uint32_t count) {
    return AllocateAttributes(table[entry].attributes, count);
}

ClassRecord* RuntimeFindClass(std::string_view name) {
    auto& registry = Registry();
    auto found = registry.find(name);
    return found == registry.end() ? nullptr : found->second;
}

void RuntimeRegisterClass(ClassRecord* record) { Registry()[record->name] = record; }

void RuntimeRegisterClassAs(std::string_view name, ClassRecord* record) {
    Registry()[std::string(name)] = record;
}

bool RuntimeObjectIsa(Object* object, ClassRecord* cls) {
    if (!object || !cls) return false;
    for (ClassRecord* c = object->cls; c; c = c->superclass) {
        if (c == cls) return true;
        for (uint32_t i = 0; i < c->interfaceCount; ++i)
            if (c->interfaces[i].interface == cls) return true;
    }
    return false;
}

Ref<Object> RuntimeCheckCast(Object* object, ClassRecord* cls) {
    if (!object) return nullptr;
    if (!cls) RaiseNilObjectException();
    if (!RuntimeObjectIsa(object, cls)) {
        RuntimeRaiseNew(IllegalCastException::dunder_Lookup(),
                        std::string("an object of class ") + object->cls->name +
                            " cannot be used as " + cls->name);
    }
    return Ref<Object>::Retain(object);
}

const MethodEntry* RuntimeMethodForSlot(ClassRecord* cls, uint32_t slot) {
    if (!cls) return nullptr;
    for (uint32_t i = 0; i < cls->methodCount; ++i)
        if (cls->methods[i].slot == slot) return &cls->methods[i];
    return nullptr;
}

const MethodEntry* RuntimeFindMethod(ClassRecord* cls, std::string_view name) {
    if (!cls) return nullptr;
    for (uint32_t i = 0; i < cls->methodCount; ++i)
        if (cls->methods[i].name && RuntimeSameNameIgnoringCase(cls->methods[i].name, name))
            return &cls->methods[i];
    return nullptr;
}

const PropertyEntry* RuntimeFindProperty(ClassRecord* cls, std::string_view name) {
    if (!cls) return nullptr;
    // The class's own entries stand last: searching backwards finds the nearest class first.
    for (uint32_t i = cls->propertyCount; i-- > 0;)
        if (cls->properties[i].name && RuntimeSameNameIgnoringCase(cls->properties[i].name, name))
            return &cls->properties[i];
    return nullptr;
}

int32_t RuntimeFindEvent(ClassRecord* cls, std::string_view name) {
    if (!cls) return -1;
    for (uint32_t i = 0; i < cls->eventCount; ++i)
        if (cls->events[i].name && name == cls->events[i].name) return static_cast<int32_t>(i);
    return -1;
}

void RuntimeRaiseBadSlot(Object* object, uint32_t slot) {
    RuntimeRaiseNew(FunctionNotFoundException::dunder_Lookup(),
                    std::string("class ") + object->cls->name + " has no virtual slot " +
                        std::to_string(slot));
}
