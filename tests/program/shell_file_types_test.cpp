// The file-type set FileTypes: its one member Text, built and registered by _Initialize.
#include <gtest/gtest.h>

#include "framework/toolkit/toolkit.h"
#include "shell/file_types.h"

namespace {

class FileTypesTest : public testing::Test {
  protected:
    void SetUp() override {
        ToolkitResetForTesting();
        FileTypes::ResetForTesting();
        FileTypes::pAllFileTypes::dunder_Init();
        FileTypes::pText::dunder_Init();
    }
    void TearDown() override { FileTypes::ResetForTesting(); }
};

TEST_F(FileTypesTest, TextIsNilBeforeInitialization) {
    EXPECT_FALSE(FileTypes::Text());
}

TEST_F(FileTypesTest, InitializationListsTheTextTypeOnceAndRegistersItWithAllItsValues) {
    FileTypes::_Initialize();
    Ref<Object> text = FileTypes::Text();
    ASSERT_TRUE(text);
    const std::pair<const char*, const char*> texts[] = {
        {"Name", "text"},   {"MacType", "TEXT"}, {"MacCreator", "R*ch"},
        {"Extensions", ""}, {"MimeType", ""},    {"ConformsTo", ""}};
    for (const auto& [name, value] : texts) {
        const PropertyEntry* entry = RuntimeFindProperty(text->cls, name);
        EXPECT_EQ(entry->boxedGetter(text.get(), entry).AsString().Std(), value) << name;
    }
    const PropertyEntry* imported = RuntimeFindProperty(text->cls, "Imported");
    EXPECT_TRUE(imported->boxedGetter(text.get(), imported).AsBoolean());

    Ref<Object> all = FileTypes::AllFileTypesForTesting();
    ASSERT_EQ(RuntimeArrayUbound(all.get()), 0);
    EXPECT_EQ(RuntimeArrayGet(all.get(), 0).get(), text.get());

    std::vector<RegisteredFileType> registered = RuntimeRegisteredFileTypes();
    ASSERT_EQ(registered.size(), 1u);
    EXPECT_EQ(registered[0].name + "|" + registered[0].creator + "|" + registered[0].macType,
              "text|R*ch|TEXT");
}

}  // namespace
