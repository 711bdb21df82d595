// Property records: a record applied through an object's property entries, and the refusal of
// malformed records.
#include "framework/toolkit/property_record.h"

#include <gtest/gtest.h>

#include <bit>
#include <string>
#include <vector>

#include "tests/toolkit/raised.h"

namespace {

// ---- a small class with one property of each type a record carries ------------------

// Every value a record sets, as "Name=value", in the order the setters ran.
std::vector<std::string> gSetLog;

std::string Render(const Variant& value) {
    switch (value.Type()) {
        case VariantType::Boolean:
            return value.AsBoolean() ? "true" : "false";
        case VariantType::Integer:
            return std::to_string(value.AsInteger());
        case VariantType::Single:
            return std::to_string(value.AsSingle()) + "f";
        case VariantType::Double:
            return std::to_string(value.AsDouble());
        case VariantType::String:
            return "\"" + value.AsString().Std() + "\"";
        case VariantType::Color: {
            Color c = value.AsColor();
            return "rgba(" + std::to_string(c.red) + "," + std::to_string(c.green) + "," +
                   std::to_string(c.blue) + "," + std::to_string(c.alpha) + ")";
        }
        default:
            return "?";
    }
}

// A stored property whose boxed setter also writes the log.
template <class T>
PropertyRow Logged(const char* name, const char* typeText, int32_t offset) {
    PropertyRow row = StoredProperty<T>(name, kStoredWritable, typeText, offset);
    row.boxedSetter = [](Object* object, const PropertyEntry* entry, const Variant& value) {
        gSetLog.push_back(std::string(entry->name) + "=" + Render(value));
        props::For<T>::Type::Introspection::SetValue(object, entry, value);
    };
    return row;
}

// Field offsets of Test.Gadget.
constexpr int32_t kRunMode = -8, kPeriod = -16, kName = -24, kFontSize = -28, kFontUnit = -29,
                  kFlag = -30, kMultiLine = -31, kLineSpacing = -40, kColour = -44,
                  kMacProcId = -56, kFriend = -64, kWidth = -72;
constexpr uint32_t kGadgetDataSize = 72;
// Test.Gizmo's own field.
constexpr int32_t kGizmoWidth = -80;
constexpr uint32_t kGizmoDataSize = 80;

ClassRecord* GadgetClass() {
    static const PropertyRow properties[] = {
        Logged<int64_t>("RunMode", "i8<Timer.RunModes>", kRunMode),
        Logged<int64_t>("Period", "i8", kPeriod),
        Logged<String>("Name", "s", kName),
        Logged<float>("FontSize", "f4", kFontSize),
        Logged<uint8_t>("FontUnit", "u1<FontUnits>", kFontUnit),
        Logged<bool>("Transparent", "b", kFlag),
        Logged<bool>("MultiLine", "b", kMultiLine),
        Logged<double>("LineSpacing", "f8", kLineSpacing),
        Logged<Color>("TextColor", "c", kColour),
        Logged<int64_t>("MacProcId", "i8", kMacProcId),
        StoredProperty<Ref<Object>>("Friend", kStoredWritable, "o<Object>", kFriend),
        Logged<int64_t>("Width", "i8", kWidth),
        ComputedProperty<int64_t>(
            "Refusing", kComputedWritable, "i8", +[](Object*, int32_t) { return int64_t{0}; },
            +[](Object*, int32_t, int64_t) {
                RuntimeRaiseNew(OutOfBoundsException::dunder_Lookup(), "no such value");
            }),
    };
    static ClassCell cell{};
    ClassSpec table = RootClass("Test.Gadget", kGadgetDataSize, properties);
    table.exit = [](Object* self) {
        props::String::Set(self, kName, String());
        props::Object::Set(self, kFriend, nullptr);
    };
    return RuntimeBuildClass(cell, table);
}

// A subclass that declares Width again, as a Double: the nearest class wins.
ClassRecord* GizmoClass() {
    static const PropertyRow properties[] = {Logged<double>("Width", "f8", kGizmoWidth)};
    static ClassCell cell{};
    return RuntimeBuildClass(cell, {.name = "Test.Gizmo",
                                    .superclass = &GadgetClass,
                                    .methodCount = 0,
                                    .interfaceCount = 0,
                                    .eventCount = 0,
                                    .propertyCount = GadgetClass()->propertyCount + 1,
                                    .instanceDataSize = kGizmoDataSize,
                                    .slotCount = 0,
                                    .properties = properties});
}

Ref<Object> NewGadget() {
    return RuntimeNewObject(GadgetClass());
}

// ---- bytes ----------------------------------------------------------------------------

std::string Bytes(std::initializer_list<int> bytes) {
    std::string out;
    for (int byte : bytes) out.push_back(static_cast<char>(byte));
    return out;
}

class PropertyRecordTest : public LeakCheckedTest {
  protected:
    void SetUp() override {
        LeakCheckedTest::SetUp();
        gSetLog.clear();
    }
};

// ---- application ----------------------------------------------------------------------

TEST_F(PropertyRecordTest, TheNearestClassDecidesTheWidthOfAValue) {
    // Test.Gizmo declares Width as a Double: eight bytes of binary64, not an Integer.
    const RecordEntry entries[] = {{"Width", Dbl(2.5)}, {"Period", Int(9)}};
    Ref<Object> gizmo = RuntimeNewObject(GizmoClass());
    RuntimeMassPropertySetter(gizmo.get(), EncodePropertyRecord(entries));
    EXPECT_EQ(gSetLog, (std::vector<std::string>{"Width=2.500000", "Period=9"}));
}

TEST_F(PropertyRecordTest, ExceptionFromASetterPassesOutUnchanged) {
    const RecordEntry entries[] = {{"Refusing", Int(1)}, {"Period", Int(3)}};
    Ref<Object> gadget = NewGadget();
    EXPECT_EQ(RaisedClass(
                  [&] { RuntimeMassPropertySetter(gadget.get(), EncodePropertyRecord(entries)); }),
              "OutOfBoundsException");
    EXPECT_TRUE(gSetLog.empty());  // nothing after the failing entry
}

// ---- malformed records ------------------------------------------------------------------

TEST_F(PropertyRecordTest, AMalformedRecordRaisesUnsupportedFormatNamingKeyAndOffset) {
    const std::string period9 = "Period " + Bytes({9, 0, 0, 0, 0, 0, 0, 0});
    struct Case {
        std::string record;
        std::string where;                 // the key and offset the message names
        std::vector<std::string> applied;  // entries set before the fault
    };
    // clang-format off
    const Case cases[] = {
        {period9 + "RunMode " + Bytes({1, 0, 0, 0}), "key \"RunMode\" at offset 15", {"Period=9"}},
        {"Colour " + Bytes({1, 2, 3, 0}),            "key \"Colour\" at offset 0",   {}},
        {period9 + " " + Bytes({1}),                 "key \"\" at offset 15",        {"Period=9"}},
        {"Name " + Bytes({100, 0, 0, 0}) + "abc",    "key \"Name\" at offset 0",     {}},
        {"FontSize " + Bytes({0, 0, 0x40}),          "key \"FontSize\" at offset 0", {}},
        {"Transparent " + Bytes({2}),                "key \"Transparent\" at offset 0", {}},
        {"Friend " + Bytes({0, 0, 0, 0, 0, 0, 0, 0}), "key \"Friend\" at offset 0",  {}},
        {"Transparent ",                             "key \"Transparent\" at offset 0", {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        gSetLog.clear();
        Ref<Object> gadget = NewGadget();
        std::string raised, message;
        try {
            RuntimeMassPropertySetter(gadget.get(), String(c.record));
        } catch (const RaisedException& exception) {
            raised = exception.ExceptionObject()->cls->name;
            message = RuntimeExceptionMessage(exception.ExceptionObject().get()).Std();
        }
        EXPECT_EQ(raised, "UnsupportedFormatException") << c.where;
        EXPECT_NE(message.find(c.where), std::string::npos) << message;
        EXPECT_EQ(gSetLog, c.applied) << c.where;
    }
}

}  // namespace
