// The class record of MainWnd.MainWnd as the runtime holds it: header, slots, method
// entries, event handlers and the two stored Double properties.
#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "conversion_fixture.h"

namespace conversion_test {
namespace {

ClassRecord* Record() { return W::dunder_Lookup(); }

const MethodEntry& Entry(uint32_t index) { return Record()->methods[index]; }

TEST(ConversionClassRecord, HeaderAndCountsMatchTheClass) {
    ClassRecord* record = Record();
    ASSERT_NE(record, nullptr);
    EXPECT_STREQ(record->name, "MainWnd.MainWnd");
    EXPECT_EQ(record->superclass, Window::dunder_Lookup());
    EXPECT_EQ(record->kind, static_cast<uint32_t>(kKindClass));
    EXPECT_EQ(record->instanceDataSize, 232u);
    EXPECT_EQ(record->reserved, 0u);
    EXPECT_EQ(record->methodCount, 85u);
    EXPECT_EQ(record->interfaceCount, 0u);
    EXPECT_EQ(record->eventCount, 34u);
    EXPECT_EQ(record->propertyCount, 62u);
    EXPECT_EQ(record->classAttributeCount, 0u);
    EXPECT_EQ(record->slotCount, 80u);
    EXPECT_EQ(record->init, nullptr);
    EXPECT_EQ(record->destructor, nullptr);
    EXPECT_EQ(record->exit, nullptr);
    EXPECT_EQ(RuntimeFindClass("MainWnd.MainWnd"), record);
}

TEST(ConversionClassRecord, SecondBuildKeepsTheSameRecord) {
    ClassRecord* first = Record();
    W::dunder_ctblinit();
    EXPECT_EQ(Record(), first);
}

TEST(ConversionClassRecord, InheritsWindowSlotsAndEntriesUnchangedButUnhidden) {
    ClassRecord* window = Window::dunder_Lookup();
    ASSERT_EQ(window->methodCount, 41u);
    for (uint32_t slot = 0; slot < 37; ++slot)
        EXPECT_EQ(Record()->vtable[slot], window->vtable[slot]) << "slot " << slot;
    for (uint32_t i = 0; i < 41; ++i) {
        const MethodEntry& inherited = window->methods[i];
        const MethodEntry& entry = Entry(i);
        SCOPED_TRACE(inherited.name);
        EXPECT_STREQ(entry.name, inherited.name);
        EXPECT_STREQ(entry.signature, inherited.signature);
        EXPECT_EQ(entry.slot, inherited.slot);
        EXPECT_EQ(entry.flags, inherited.flags & ~kFlagHidden);
        EXPECT_EQ(entry.attributes->count, 0u);
    }
}

// Own methods in slot order, 37 to 79, with their signature texts.
struct OwnMethod {
    const char* name;
    const char* signature;
};
const OwnMethod kOwnMethods[] = {
    {"Layout", "%%"},
    {"CreateControls", "%%"},
    {"_CreateControls0", "%%"},
    {"rEdit", "%o<TextField>%"},
    {"Canvas2", "%o<Canvas>%"},
    {"StaticText1", "%o<Label>%"},
    {"CalcBtn", "%o<PushButton>%"},
    {"ClearBtn", "%o<PushButton>%"},
    {"zEdit", "%o<TextField>%"},
    {"Label1", "%o<Label>%"},
    {"Label2", "%o<Label>%"},
    {"Canvas1", "%o<Canvas>%"},
    {"describeTxt", "%o<TextArea>%"},
    {"qBtn", "%o<PushButton>%"},
    {"rEdit_KeyDown", "%b%o<TextField>s"},
    {"CalcBtn_Action", "%%o<PushButton>"},
    {"ClearBtn_Action", "%%o<PushButton>"},
    {"zEdit_KeyDown", "%b%o<TextField>s"},
    {"qBtn_Action", "%%o<PushButton>"},
    {"qBtn_MouseDown", "%b%o<PushButton>i8i8"},
    {"UntitledMenu3", "%o<MenuItem>%"},
    {"UntitledMenu0", "%o<MenuItem>%"},
    {"UntitledMenu4", "%o<AppleMenuItem>%"},
    {"About", "%o<AppleMenuItem>%"},
    {"UntitledMenu5", "%o<MenuItem>%"},
    {"EditClear", "%o<MenuItem>%"},
    {"EditPaste", "%o<MenuItem>%"},
    {"EditCopy", "%o<MenuItem>%"},
    {"EditCut", "%o<MenuItem>%"},
    {"UntitledMenu1", "%o<MenuItem>%"},
    {"EditUndo", "%o<MenuItem>%"},
    {"UntitledMenu2", "%o<MenuItem>%"},
    {"UntitledMenu6", "%o<MenuItem>%"},
    {"FileQuit", "%o<QuitMenuItem>%"},
    {"Apple", "%o<MenuItem>%"},
    {"AddMenuHandlers", "%%o<Window>"},
    {"Event_Close", "%%"},
    {"Event_Activate", "%%"},
    {"Event_MouseUp", "%%i8i8"},
    {"Event_MouseDown", "%b%i8i8"},
    {"Event_Open", "%%"},
    {"Event_EnableMenuItems", "%%"},
    {"_About_Action", "%b%"},
};

TEST(ConversionClassRecord, OwnMethodsFollowInSlotOrder) {
    ASSERT_EQ(std::size(kOwnMethods), 43u);
    for (uint32_t i = 0; i < 43; ++i) {
        const uint32_t slot = 37 + i;
        const MethodEntry& entry = Entry(41 + i);
        SCOPED_TRACE(kOwnMethods[i].name);
        EXPECT_STREQ(entry.name, kOwnMethods[i].name);
        EXPECT_STREQ(entry.signature, kOwnMethods[i].signature);
        EXPECT_EQ(entry.slot, slot);
        EXPECT_EQ(entry.function, Record()->vtable[slot]);
        EXPECT_NE(entry.invoker, nullptr);
        const bool hidden = std::string(entry.name) == "_CreateControls0";
        EXPECT_EQ(entry.flags, hidden ? 385u : 257u);
        ASSERT_EQ(entry.attributes->count, hidden ? 1u : 0u);
        if (hidden) {
            EXPECT_STREQ(entry.attributes->entries[0].name, "Hidden");
            EXPECT_STREQ(entry.attributes->entries[0].value, "");
            EXPECT_EQ(entry.attributes->entries[0].hasValue, 0u);
        }
    }
}

TEST(ConversionClassRecord, FiveEntriesHaveNoSlotAndIsEventImplementedStandsLast) {
    std::vector<std::string> slotless;
    for (uint32_t i = 0; i < 85; ++i)
        if (Entry(i).slot == kNoSlot) slotless.push_back(Entry(i).name);
    EXPECT_EQ(slotless, (std::vector<std::string>{"_GetControl", "_GetControlArray", "__Exit",
                                                  "__Init", "IsEventImplemented"}));
    const MethodEntry& last = Entry(84);
    EXPECT_STREQ(last.name, "IsEventImplemented");
    EXPECT_STREQ(last.signature, "%b%s");
    EXPECT_EQ(last.flags, 64u);
    EXPECT_EQ(last.attributes->count, 0u);
}

TEST(ConversionClassRecord, NineWindowEventsHaveTheirHandlers) {
    struct Handled {
        uint32_t event;
        uint32_t slot;
    };
    const Handled handled[] = {
        {0, 74}, {1, 72}, {3, 73}, {7, 38}, {13, 78}, {16, 37}, {19, 76}, {24, 75}, {27, 77},
    };
    int withHandler = 0;
    for (uint32_t event = 0; event < 34; ++event) {
        const EventEntry& entry = Record()->events[event];
        EXPECT_STREQ(entry.name, Window::dunder_Lookup()->events[event].name);
        GenericFn expected = nullptr;
        for (const Handled& h : handled)
            if (h.event == event) expected = Record()->vtable[h.slot];
        EXPECT_EQ(entry.handler, expected) << "event " << entry.name;
        if (entry.handler) ++withHandler;
    }
    EXPECT_EQ(withHandler, 9);
}

TEST(ConversionClassRecord, OwnPropertiesAreStoredDoublesZThenR) {
    struct Expected {
        uint32_t index;
        const char* name;
        int32_t offset;
    };
    for (const Expected& e : {Expected{60, "z", -224}, Expected{61, "r", -232}}) {
        const PropertyEntry& entry = Record()->properties[e.index];
        SCOPED_TRACE(e.name);
        EXPECT_STREQ(entry.name, e.name);
        EXPECT_EQ(entry.flags, 5u);
        EXPECT_STREQ(entry.typeText, "f8");
        EXPECT_EQ(entry.fieldOffset, e.offset);
        EXPECT_EQ(entry.attributes->count, 0u);
        EXPECT_EQ(entry.getter, reinterpret_cast<GenericFn>(&props::Double::Get));
        EXPECT_EQ(entry.setter, reinterpret_cast<GenericFn>(&props::Double::Set));
    }
    for (uint32_t i = 0; i < 60; ++i)
        EXPECT_STREQ(Record()->properties[i].name, Window::dunder_Lookup()->properties[i].name);
}

using ConversionClassInstance = ConversionWindowTest;

TEST_F(ConversionClassInstance, PropertiesWriteTheirDoublesAtTheirOffsets) {
    for (const auto& [name, offset, value] :
         {std::tuple{"z", -224, 0.549306}, std::tuple{"r", -232, -0.25}}) {
        const PropertyEntry* entry = RuntimeFindProperty(window()->cls, name);
        ASSERT_NE(entry, nullptr);
        entry->boxedSetter(window(), entry, Variant(value));
        double raw = 0;
        std::memcpy(&raw, window()->Base() + offset, sizeof raw);
        EXPECT_EQ(raw, value) << name;
        EXPECT_EQ(entry->boxedGetter(window(), entry).AsDouble(), value) << name;
    }
}

TEST_F(ConversionClassInstance, IsEventImplementedAnswersThroughItsInvoker) {
    const MethodEntry& entry = Entry(84);
    for (const auto& [event, handled] : {std::pair{"Open", true}, std::pair{"Activate", true},
                                         std::pair{"Layout", true}, std::pair{"Paint", false},
                                         std::pair{"KeyDown", false}, std::pair{"Resized", false}}) {
        VariantList args{Variant(event)};
        EXPECT_EQ(entry.invoker->Invoke(entry.function, window(), &args).AsBoolean(), handled)
            << event;
    }
}

}  // namespace
}  // namespace conversion_test
