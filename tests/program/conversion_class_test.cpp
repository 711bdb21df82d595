// The class record of MainWnd.MainWnd as the runtime holds it.
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "conversion_fixture.h"

namespace conversion_test {
namespace {

ClassRecord* Record() {
    return W::dunder_Lookup();
}

TEST(ConversionClassRecord, HeaderCountsAndInheritedPart) {
    ClassRecord* record = Record();
    ClassRecord* window = Window::dunder_Lookup();
    EXPECT_STREQ(record->name, "MainWnd.MainWnd");
    EXPECT_EQ(record->superclass, window);
    EXPECT_EQ(RuntimeFindClass("MainWnd.MainWnd"), record);
    EXPECT_EQ(std::vector<uint32_t>({record->kind, record->instanceDataSize, record->methodCount,
                                     record->interfaceCount, record->eventCount,
                                     record->propertyCount, record->slotCount}),
              std::vector<uint32_t>({2, 232, 85, 0, 34, 62, 80}));
    EXPECT_FALSE(record->init || record->destructor || record->exit);
    for (uint32_t slot = 0; slot < 37; ++slot)
        EXPECT_EQ(record->vtable[slot], window->vtable[slot]);
    for (uint32_t i = 0; i < 41; ++i) {  // re-stated without Window's hidden marks
        EXPECT_STREQ(record->methods[i].name, window->methods[i].name);
        EXPECT_EQ(record->methods[i].flags, window->methods[i].flags & ~kFlagHidden);
        EXPECT_EQ(record->methods[i].attributes->count, 0u);
    }
    W::dunder_ctblinit();
    EXPECT_EQ(Record(), record) << "a second build keeps the record";
}

TEST(ConversionClassRecord, OwnMethodsInSlotOrder) {
    std::istringstream names(
        "Layout CreateControls _CreateControls0 rEdit Canvas2 StaticText1 CalcBtn ClearBtn zEdit "
        "Label1 Label2 Canvas1 describeTxt qBtn rEdit_KeyDown CalcBtn_Action ClearBtn_Action "
        "zEdit_KeyDown qBtn_Action qBtn_MouseDown UntitledMenu3 UntitledMenu0 UntitledMenu4 About "
        "UntitledMenu5 EditClear EditPaste EditCopy EditCut UntitledMenu1 EditUndo UntitledMenu2 "
        "UntitledMenu6 FileQuit Apple AddMenuHandlers Event_Close Event_Activate Event_MouseUp "
        "Event_MouseDown Event_Open Event_EnableMenuItems _About_Action");
    uint32_t slot = 37;
    for (std::string name; names >> name; ++slot) {
        const MethodEntry& entry = Record()->methods[slot + 4];
        EXPECT_EQ(entry.name, name);
        EXPECT_EQ(entry.slot, slot);
        EXPECT_EQ(entry.function, Record()->vtable[slot]);
        const bool hidden = name == "_CreateControls0";
        EXPECT_EQ(entry.flags, hidden ? 385u : 257u) << name;
        ASSERT_EQ(entry.attributes->count, hidden ? 1u : 0u) << name;
        if (hidden) {
            EXPECT_STREQ(entry.attributes->entries[0].name, "Hidden");
        }
    }
    EXPECT_EQ(slot, 80u);
    // Signatures: the runtime checks each against its function's C++ shape when it builds.
    EXPECT_STREQ(Record()->methods[60 + 4].signature, "%o<AppleMenuItem>%");
    EXPECT_STREQ(Record()->methods[70 + 4].signature, "%o<QuitMenuItem>%");
}

TEST(ConversionClassRecord, FiveSlotlessEntriesEndingWithIsEventImplemented) {
    std::vector<std::string> slotless;
    for (uint32_t i = 0; i < 85; ++i)
        if (Record()->methods[i].slot == kNoSlot) slotless.push_back(Record()->methods[i].name);
    EXPECT_EQ(slotless, (std::vector<std::string>{"_GetControl", "_GetControlArray", "__Exit",
                                                  "__Init", "IsEventImplemented"}));
    EXPECT_STREQ(Record()->methods[84].signature, "%b%s");
    EXPECT_EQ(Record()->methods[84].flags, 64u);
}

TEST(ConversionClassRecord, NineEventsHandledAtTheirIndexes) {
    const std::pair<uint32_t, uint32_t> handled[] = {
        {0, 74}, {1, 72}, {3, 73}, {7, 38}, {13, 78}, {16, 37}, {19, 76}, {24, 75}, {27, 77}};
    for (uint32_t event = 0; event < 34; ++event) {
        GenericFn expected = nullptr;
        for (const auto& [e, slot] : handled)
            if (e == event) expected = Record()->vtable[slot];
        EXPECT_EQ(Record()->events[event].handler, expected) << Record()->events[event].name;
    }
}

using ConversionClassInstance = ConversionWindowTest;

TEST_F(ConversionClassInstance, ZAndRAreStoredDoublesAtTheirOffsets) {
    for (const auto& [index, name, offset] :
         {std::tuple{60u, "z", -224}, std::tuple{61u, "r", -232}}) {
        const PropertyEntry& entry = Record()->properties[index];
        EXPECT_STREQ(entry.name, name);
        EXPECT_EQ(entry.flags, 5u);
        EXPECT_STREQ(entry.typeText, "f8");
        const double value = offset / 1000.0;
        entry.boxedSetter(window(), &entry, Variant(value));
        double raw = 0;
        std::memcpy(&raw, window()->Base() + offset, sizeof raw);
        EXPECT_EQ(raw, value) << name;
    }
}

TEST_F(ConversionClassInstance, IsEventImplementedNamesTheHandledEvents) {
    const MethodEntry& entry = Record()->methods[84];
    for (const auto& [event, handled] : {std::pair{"Open", true}, std::pair{"MouseUp", true},
                                         std::pair{"Paint", false}, std::pair{"KeyDown", false}}) {
        VariantList args{Variant(event)};
        EXPECT_EQ(entry.invoker->Invoke(entry.function, window(), &args).AsBoolean(), handled)
            << event;
    }
}

}  // namespace
}  // namespace conversion_test
