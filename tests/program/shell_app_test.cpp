// The application class App and the file-type set FileTypes.
#include <gtest/gtest.h>

#include <string>

#include "framework/toolkit/toolkit.h"
#include "shell/app.h"
#include "shell/file_types.h"

namespace {

Variant PropertyOf(Object* object, const char* name) {
    const PropertyEntry* entry = RuntimeFindProperty(object->cls, name);
    if (!entry) {
        ADD_FAILURE() << "no property " << name;
        return Variant();
    }
    return entry->boxedGetter(object, entry);
}

TEST(AppClass, InheritsEveryApplicationSlotAndAddsOnlyItsConstructor) {
    ClassRecord* app = App::dunder_Lookup();
    ClassRecord* application = Application::dunder_Lookup();
    ASSERT_EQ(app->superclass, application);
    EXPECT_STREQ(app->name, "App");
    EXPECT_EQ(app->kind, 2u);
    EXPECT_EQ(app->instanceDataSize, 96u);
    EXPECT_EQ(app->slotCount, 19u);
    EXPECT_EQ(app->methodCount, 25u);
    EXPECT_EQ(app->eventCount, 11u);
    EXPECT_EQ(app->propertyCount, 34u);
    for (uint32_t slot = 0; slot < 18; ++slot) EXPECT_EQ(app->vtable[slot], application->vtable[slot]) << slot;
    EXPECT_EQ(app->vtable[18], AsGenericFn(&App::Constructor));
    EXPECT_STREQ(app->methods[23].name, "IsEventImplemented");
    EXPECT_EQ(app->methods[23].flags, 64u);
    EXPECT_STREQ(app->methods[24].name, "Constructor");
    EXPECT_EQ(app->methods[24].slot, 18u);
    for (uint32_t event = 0; event < app->eventCount; ++event)
        EXPECT_EQ(app->events[event].handler, nullptr) << "App handles no application event";
}

TEST(AppClass, AnswersNotificationsThroughApplicationsOwnMethod) {
    ClassRecord* app = App::dunder_Lookup();
    const InterfaceEntry& entry = app->interfaces[0];
    EXPECT_EQ(entry.interface, _MacOSDistributedNotifications::iNotify::dunder_Lookup());
    ASSERT_EQ(entry.methodCount, 1u);
    EXPECT_EQ(entry.table[0], AsGenericFn(&Application::_MacOSNotificationReceived));
}

TEST(AppClass, ConstructorLeavesTheVersionFieldsToTheVersionCall) {
    Ref<Object> app = RuntimeNewObject(App::dunder_Lookup());
    RuntimeCallSlot<void>(app.get(), App::kConstructorSlot);
    EXPECT_EQ(PropertyOf(app.get(), "_x_mMajorVersion").AsInteger(), 0);
    EXPECT_EQ(PropertyOf(app.get(), "_x_mShortVersion").AsString().Std(), "");
    EXPECT_FALSE(App::IsEventImplemented(app.get(), "Open")) << "App handles no event";
}

class FileTypesTest : public testing::Test {
protected:
    void SetUp() override {
        ToolkitResetForTesting();
        FileTypes::ResetForTesting();
        FileTypes::pAllFileTypes::dunder_Init();
        FileTypes::pText::dunder_Init();
    }
    void TearDown() override {
        FileTypes::ResetForTesting();
        ToolkitResetForTesting();
    }
};

TEST_F(FileTypesTest, TextIsNilBeforeInitialization) {
    EXPECT_FALSE(FileTypes::Text());
    Ref<Object> all = FileTypes::AllFileTypesForTesting();
    ASSERT_TRUE(all);
    EXPECT_EQ(RuntimeArrayUbound(all.get()), -1);
}

TEST_F(FileTypesTest, InitializationBuildsTheTextTypeAndListsItOnce) {
    FileTypes::_Initialize();
    Ref<Object> text = FileTypes::Text();
    ASSERT_TRUE(text);
    EXPECT_EQ(text->cls, FileType::dunder_Lookup());
    struct Expected {
        const char* property;
        Variant value;
    };
    const Expected expected[] = {
        {"Name", "text"},     {"Extensions", ""}, {"MacType", "TEXT"}, {"MacCreator", "R*ch"},
        {"MimeType", ""},     {"Imported", true}, {"ConformsTo", ""},  {"UTI", ""},
    };
    for (const Expected& want : expected) {
        Variant got = PropertyOf(text.get(), want.property);
        if (want.value.Type() == VariantType::Boolean) {
            EXPECT_EQ(got.AsBoolean(), want.value.AsBoolean()) << want.property;
        } else {
            EXPECT_EQ(got.AsString().Std(), want.value.AsString().Std()) << want.property;
        }
    }
    Ref<Object> all = FileTypes::AllFileTypesForTesting();
    ASSERT_EQ(RuntimeArrayUbound(all.get()), 0);
    EXPECT_EQ(RuntimeArrayGet(all.get(), 0).get(), text.get());
}

TEST_F(FileTypesTest, TheTypeIsRegisteredOnceWithAllItsValues) {
    FileTypes::_Initialize();
    std::vector<RegisteredFileType> registered = RuntimeRegisteredFileTypes();
    ASSERT_EQ(registered.size(), 1u);
    EXPECT_EQ(registered[0].name, "text");
    EXPECT_EQ(registered[0].macType, "TEXT");
    EXPECT_EQ(registered[0].creator, "R*ch");
    EXPECT_EQ(registered[0].extensions, "");
    EXPECT_EQ(registered[0].uti, "");
}

TEST_F(FileTypesTest, WithoutItsListInitializationRaisesNilObject) {
    FileTypes::ResetForTesting();  // the list's initialiser has not run
    EXPECT_THROW(FileTypes::_Initialize(), RaisedException);
    EXPECT_TRUE(FileTypes::Text()) << "steps already done stay done";
    EXPECT_TRUE(RuntimeRegisteredFileTypes().empty());
}

}  // namespace
