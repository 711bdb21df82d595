// The class record of MainWnd.MainWnd as the runtime holds it, by spot checks.
#include <string>
#include <vector>

#include "conversion_fixture.h"

namespace conversion_test {
namespace {

using ConversionClassRecord = ConversionWindowTest;

TEST_F(ConversionClassRecord, CountsSlotOrderSlotlessEntriesHandlersAndProperties) {
    ClassRecord* record = W::dunder_Lookup();
    ClassRecord* base = Window::dunder_Lookup();
    EXPECT_EQ(RuntimeFindClass("MainWnd.MainWnd"), record);
    EXPECT_EQ(record->superclass, base);
    EXPECT_EQ(std::vector<uint32_t>({record->instanceDataSize, record->methodCount,
                                     record->interfaceCount, record->eventCount,
                                     record->propertyCount, record->slotCount}),
              std::vector<uint32_t>({232, 85, 0, 34, 62, 80}));
    EXPECT_EQ(record->vtable[Window::kShowSlot], base->vtable[Window::kShowSlot]);

    // Own virtual methods follow Window's 41 entries in slot order; only _CreateControls0 is
    // hidden. Their names by spot checks.
    for (uint32_t slot = 37; slot < 80; ++slot) {
        const MethodEntry& entry = record->methods[slot + 4];
        EXPECT_EQ(entry.slot, slot) << entry.name;
        EXPECT_EQ(entry.function, record->vtable[slot]) << entry.name;
        EXPECT_EQ(entry.flags, slot == 39 ? 385u : 257u) << entry.name;
    }
    // clang-format off
    const std::pair<uint32_t, const char*> names[] = {
        {37, "Layout"}, {39, "_CreateControls0"}, {40, "rEdit"}, {49, "describeTxt"},
        {51, "rEdit_KeyDown"}, {56, "qBtn_MouseDown"}, {57, "UntitledMenu3"}, {60, "About"},
        {71, "Apple"}, {72, "AddMenuHandlers"}, {78, "Event_EnableMenuItems"}, {79, "_About_Action"}};
    // clang-format on
    for (const auto& [slot, name] : names) EXPECT_STREQ(record->methods[slot + 4].name, name);
    std::vector<std::string> slotless;
    for (uint32_t i = 0; i < record->methodCount; ++i)
        if (record->methods[i].slot == kNoSlot) slotless.push_back(record->methods[i].name);
    EXPECT_EQ(slotless, (std::vector<std::string>{"_GetControl", "_GetControlArray", "__Exit",
                                                  "__Init", "IsEventImplemented"}));

    // The nine window events it handles, each by the method in its slot.
    const std::pair<uint32_t, uint32_t> handled[] = {
        {0, 74}, {1, 72}, {3, 73}, {7, 38}, {13, 78}, {16, 37}, {19, 76}, {24, 75}, {27, 77}};
    for (uint32_t event = 0; event < record->eventCount; ++event) {
        GenericFn expected = nullptr;
        for (const auto& [e, slot] : handled)
            if (e == event) expected = record->vtable[slot];
        EXPECT_EQ(record->events[event].handler, expected) << record->events[event].name;
        EXPECT_EQ(W::IsEventImplemented(window(), String(record->events[event].name)),
                  expected != nullptr)
            << record->events[event].name;
    }

    // z and r: stored Doubles after Window's 60 properties, holding the last conversion.
    Type("rEdit", "-0.3");
    Click("CalcBtn");
    for (const auto& [index, name, offset, value] :
         {std::tuple{60u, "z", -224, -0.30952}, std::tuple{61u, "r", -232, -0.3}}) {
        const PropertyEntry& entry = record->properties[index];
        EXPECT_STREQ(entry.name, name);
        EXPECT_STREQ(entry.typeText, "f8");
        EXPECT_EQ(entry.fieldOffset, offset) << name;
        EXPECT_NEAR(entry.boxedGetter(window(), &entry).AsDouble(), value, 1e-6) << name;
    }
}

}  // namespace
}  // namespace conversion_test
