// The class records as the runtime holds them, against the tables in tests/data: the
// program's five classes and the framework classes they derive from.
#include <map>

#include "conversion/main_wnd.h"
#include "data_table.h"
#include "shell/app.h"
#include "shell/menu.h"
#include "splash/splash_wnd.h"
#include "splash/timer_wrapper.h"

namespace {

using namespace data_table;

const char* const kProgramClasses[] = {"MainWnd.MainWnd", "SplashWnd.SplashWnd",
                                       "SplashWnd._wrapper_Timer1", "Menu.Menu", "App"};

ClassRecord* Record(const std::string& name) {
    for (auto lookup : {&MainWnd::MainWnd::dunder_Lookup, &SplashWnd::SplashWnd::dunder_Lookup,
                        &SplashWnd::_wrapper_Timer1::dunder_Lookup, &Menu::Menu::dunder_Lookup,
                        &App::dunder_Lookup})
        lookup();
    ClassRecord* cls = RuntimeFindClass(name);
    EXPECT_NE(cls, nullptr) << name;
    return cls;
}

uint32_t Number(const std::string& cell) {
    return Given(cell) ? static_cast<uint32_t>(std::stol(cell)) : kNoSlot;
}

// Expects `actual` where the table gives a value ("-": none).
template <class T>
void ExpectGiven(const T& actual, const std::string& cell, const T& expected, const char* what) {
    EXPECT_TRUE(!Given(cell) || actual == expected) << what << ": " << cell;
}

// An entry's one attribute as the tables write it: name, value in double quotes, word.
std::string AttributeOf(const AttributeTable* table) {
    if (!table || table->count == 0) return "-";
    if (table->count > 1) return "several";
    const AttributeEntry& attribute = table->entries[0];
    return std::string(attribute.name) + " \"" + attribute.value + "\" " +
           std::to_string(attribute.hasValue);
}

class ClassRecords : public testing::Test {
  protected:
    const Tables headers_ = Read("class_records.txt"), methods_ = Read("method_entries.txt"),
                 events_ = Read("events.txt"), properties_ = Read("properties.txt");

    std::string SuperclassOf(const std::string& cls) const {
        for (const Row& row : Section(headers_, "headers"))
            if (row.at("class") == cls) return row.at("superclass");
        return "-";
    }
};

TEST_F(ClassRecords, HeadersHoldTheirCountsSizesAndFunctions) {
    for (const Row& row : Section(headers_, "headers")) {
        SCOPED_TRACE(row.at("class"));
        ClassRecord* cls = Record(row.at("class"));
        ASSERT_NE(cls, nullptr);
        const std::pair<const char*, uint32_t> numbers[] = {
            {"methods", cls->methodCount},
            {"interfaces", cls->interfaceCount},
            {"events", cls->eventCount},
            {"properties", cls->propertyCount},
            {"instance size", cls->instanceDataSize},
            {"slots", cls->slotCount},
            {"kind", cls->kind},
            {"class attributes", cls->classAttributeCount}};
        for (const auto& [column, value] : numbers)
            ExpectGiven(value, row.at(column), Number(row.at(column)), column);
        const std::string super = cls->superclass ? cls->superclass->name : "none";
        ExpectGiven(super, row.at("superclass"), row.at("superclass"), "superclass");
        const std::pair<const char*, ObjectFn> functions[] = {
            {"__Init", cls->init}, {"Destructor", cls->destructor}, {"__Exit", cls->exit}};
        for (const auto& [column, function] : functions)
            ExpectGiven(function != nullptr, row.at(column), row.at(column) == "own", column);
        EXPECT_EQ(cls->reserved, 0u);
    }
}

// A program class's table: its superclass's entries re-stated, then its own; a framework
// class's own record: its entries with the flags it gives them where they are fixed.
TEST_F(ClassRecords, MethodTablesHoldEachEntryInOrder) {
    const std::string hidden = Section(methods_, "hidden attribute").at(0).at("attribute");
    auto check = [&hidden](const MethodEntry& entry, const Row& row, const std::string& flags) {
        SCOPED_TRACE(row.at("name"));
        EXPECT_STREQ(entry.name, row.at("name").c_str());
        ExpectGiven(entry.flags, flags, Number(flags), "flags");
        const std::string signature = entry.signature;
        ExpectGiven(signature, row.at("signature"), Text(row.at("signature")), "signature");
        EXPECT_EQ(entry.slot, Number(row.at("slot")));
        // Re-stated entries carry no attribute; a framework's own, "Hidden" when hidden.
        const std::string attribute = row.count("attribute")        ? row.at("attribute")
                                      : Number(flags) & kFlagHidden ? hidden
                                                                    : "-";
        ExpectGiven(AttributeOf(entry.attributes), row.count("attribute") ? "" : flags, attribute,
                    "attribute");
        EXPECT_NE(entry.invoker, nullptr);
    };
    for (const std::string name : kProgramClasses) {
        SCOPED_TRACE(name);
        ClassRecord* cls = Record(name);
        ClassRecord* super = Record(SuperclassOf(name));
        std::vector<Row> expected = Section(methods_, super->name);
        for (const Row& own : Section(methods_, name)) {
            if (Given(own.at("entry"))) expected.at(Number(own.at("entry"))) = own;
            if (!Given(own.at("entry"))) expected.push_back(own);
        }
        ASSERT_EQ(cls->methodCount, expected.size());
        for (uint32_t i = 0; i < cls->methodCount; ++i) {
            check(cls->methods[i], expected[i], expected[i].at("flags"));
            const bool restated = !expected[i].count("entry");
            // Re-stated entries name the superclass's function, overrides their own.
            const bool inherited =
                i < super->methodCount && cls->methods[i].function == super->methods[i].function;
            EXPECT_EQ(inherited, restated) << i;
            EXPECT_NE(cls->methods[i].function, nullptr) << i;
        }
    }
    for (const std::string name : {"Window", "Timer", "MenuBar", "Application", "MenuItem"}) {
        SCOPED_TRACE(name);
        ClassRecord* cls = Record(name);
        std::vector<Row> expected;
        for (const Row& row : Section(methods_, name == "MenuItem" ? "MenuBar" : name))
            if (name != "MenuItem" || row.at("declared by") == "MenuItem") expected.push_back(row);
        ASSERT_EQ(cls->methodCount, expected.size());
        for (uint32_t i = 0; i < cls->methodCount; ++i)
            check(cls->methods[i], expected[i],
                  name == "MenuItem" ? "-" : expected[i].at("own flags"));
    }
}

TEST_F(ClassRecords, EventTablesHoldTheHandlersOfTheirMethods) {
    for (const std::string name : kProgramClasses) {
        SCOPED_TRACE(name);
        ClassRecord* cls = Record(name);
        const std::string super = SuperclassOf(name);
        std::map<uint32_t, std::string> handlers;
        for (const Row& row : Section(events_, name))
            handlers[Number(row.at("index"))] = row.at("handler");
        const MethodEntry* isImplemented = RuntimeFindMethod(cls, "IsEventImplemented");
        Ref<Object> object = isImplemented ? RuntimeNewObject(cls) : nullptr;
        for (uint32_t i = 0; i < cls->eventCount; ++i) {
            const EventEntry& event = cls->events[i];
            const std::string eventName = event.name;
            const Tables::const_iterator names = events_.find(super);
            EXPECT_TRUE(names == events_.end() || names->second.at(i).at("event") == eventName);
            const bool handled = handlers.count(i) > 0;
            EXPECT_EQ(event.handler,
                      handled ? RuntimeFindMethod(cls, handlers[i])->function : nullptr)
                << i;
            if (!object) continue;
            auto answer = reinterpret_cast<bool (*)(Object*, String)>(isImplemented->function);
            EXPECT_EQ(answer(object.get(), String(event.name)), handled) << event.name;
        }
    }
}

TEST_F(ClassRecords, OwnPropertiesFollowTheSuperclassesWithTheirFieldsAndAccessors) {
    const std::map<std::string, GenericFn> accessors = {
        {"Double.Get", AsGenericFn(&props::Double::Get)},
        {"Double.Set", AsGenericFn(&props::Double::Set)},
        {"Double.Introspection.GetValue", AsGenericFn(&props::Double::Introspection::GetValue)},
        {"Double.Introspection.SetValue", AsGenericFn(&props::Double::Introspection::SetValue)},
        {"Integer.Get", AsGenericFn(&props::Integer::Get)},
        {"Integer.Set", AsGenericFn(&props::Integer::Set)},
        {"Integer.Introspection.GetValue", AsGenericFn(&props::Integer::Introspection::GetValue)},
        {"Integer.Introspection.SetValue", AsGenericFn(&props::Integer::Introspection::SetValue)},
        {"Object.Get", AsGenericFn(&props::Object::Get)},
        {"WeakRef.Set", AsGenericFn(&props::WeakRef::Set)},
        {"Object.Introspection.GetValue", AsGenericFn(&props::Object::Introspection::GetValue)},
        {"WeakRef.Introspection.SetValue", AsGenericFn(&props::WeakRef::Introspection::SetValue)}};
    for (const std::string name : kProgramClasses) {
        SCOPED_TRACE(name);
        ClassRecord* cls = Record(name);
        std::map<uint32_t, Row> own;
        for (const Row& row : Section(properties_, name)) own[Number(row.at("entry"))] = row;
        for (uint32_t i = 0; i < cls->propertyCount; ++i) {
            const PropertyEntry& entry = cls->properties[i];
            EXPECT_EQ(entry.declaringClass == cls, own.count(i) > 0) << i;
            if (!own.count(i)) continue;
            const Row& row = own[i];
            EXPECT_STREQ(entry.name, row.at("name").c_str());
            EXPECT_STREQ(entry.typeText, Text(row.at("type")).c_str());
            EXPECT_EQ(entry.flags, Number(row.at("flags")));
            EXPECT_EQ(entry.fieldOffset, std::stoi(row.at("offset")));
            EXPECT_EQ(AttributeOf(entry.attributes), row.at("attribute"));
            EXPECT_EQ(entry.getter, accessors.at(row.at("getter")));
            EXPECT_EQ(entry.setter, accessors.at(row.at("setter")));
            EXPECT_EQ(AsGenericFn(entry.boxedGetter), accessors.at(row.at("boxed getter")));
            EXPECT_EQ(AsGenericFn(entry.boxedSetter), accessors.at(row.at("boxed setter")));
        }
    }
    for (const Row& row : Section(properties_, "Timer"))
        EXPECT_STREQ(Record("Timer")->properties[Number(row.at("entry"))].name,
                     row.at("name").c_str());
}

TEST_F(ClassRecords, InterfaceTablesHoldTheClassesFunctions) {
    for (const Row& row : Section(headers_, "interfaces")) {
        SCOPED_TRACE(row.at("class") + " " + row.at("interface"));
        ClassRecord* cls = Record(row.at("class"));
        const InterfaceEntry& entry = cls->interfaces[Number(row.at("entry"))];
        ASSERT_NE(entry.interface, nullptr);
        EXPECT_STREQ(entry.interface->name, row.at("interface").c_str());
        EXPECT_EQ(entry.methodCount, Number(row.at("methods")));
        std::istringstream names(row.at("functions"));
        uint32_t i = 0;
        for (std::string name; std::getline(names, name, ',');)
            EXPECT_EQ(entry.table[i++], RuntimeFindMethod(cls, Trim(name))->function) << name;
        EXPECT_EQ(i, entry.methodCount);
    }
}

}  // namespace
