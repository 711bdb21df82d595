// File types: registered when converted to text, and registered anew after any property
// changes.
#include "framework/toolkit/file_type.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/toolkit/raised.h"

namespace {

std::vector<std::string> Registered() {
    std::vector<std::string> lines;
    for (const RegisteredFileType& t : RuntimeRegisteredFileTypes())
        lines.push_back(t.name + "|" + t.creator + "|" + t.macType + "|" + t.extensions + "|" +
                        t.uti);
    return lines;
}

// The text type as the application declares it.
Ref<Object> NewTextType() {
    Ref<Object> type = RuntimeNewObject(FileType::dunder_Lookup());  // no constructor is run
    FileTypeNameSetter(type.get(), 0, "text");
    FileTypeExtensionsSetter(type.get(), 0, "");
    FileTypeMacTypeSetter(type.get(), 0, "TEXT");
    FileTypeMacCreatorSetter(type.get(), 0, "R*ch");
    FileTypeMimeTypeSetter(type.get(), 0, "");
    FileTypeImportedSetter(type.get(), 0, true);
    FileTypeConformsToSetter(type.get(), 0, "");
    return type;
}

class FileTypeTest : public LeakCheckedTest {
  protected:
    void SetUp() override {
        LeakCheckedTest::SetUp();
        before_ = Registered();
        RuntimeTraceClear();
        RuntimeTraceEnable(true);
    }
    void TearDown() override {
        RuntimeTraceEnable(false);
        RuntimeTraceClear();
        LeakCheckedTest::TearDown();
    }
    std::vector<std::string> Added() {
        std::vector<std::string> now = Registered();
        return {now.begin() + static_cast<std::ptrdiff_t>(before_.size()), now.end()};
    }
    std::vector<std::string> before_;
};

struct PropertyChange {
    const char* property;
    void (*change)(Object*);
    const char* registeredAfter;
};

TEST_F(FileTypeTest, EveryPropertySetDropsTheRegistration) {
    // clang-format off
    const PropertyChange changes[] = {
        {"Name", [](Object* t) { FileTypeNameSetter(t, 0, "plain"); }, "plain|R*ch|TEXT||"},
        {"Extensions", [](Object* t) { FileTypeExtensionsSetter(t, 0, "txt"); }, "text|R*ch|TEXT|txt|"},
        {"MacType", [](Object* t) { FileTypeMacTypeSetter(t, 0, "utxt"); }, "text|R*ch|utxt||"},
        {"MacCreator", [](Object* t) { FileTypeMacCreatorSetter(t, 0, "ttxt"); }, "text|ttxt|TEXT||"},
        {"MimeType", [](Object* t) { FileTypeMimeTypeSetter(t, 0, "text/plain"); }, "text|R*ch|TEXT||"},
        {"Imported", [](Object* t) { FileTypeImportedSetter(t, 0, false); }, "text|R*ch|TEXT||"},
        {"ConformsTo", [](Object* t) { FileTypeConformsToSetter(t, 0, "public.text"); }, "text|R*ch|TEXT||"},
        {"UTI", [](Object* t) { FileTypeUTISetter(t, 0, "public.plain-text"); }, "text|R*ch|TEXT||public.plain-text"},
    };
    // clang-format on
    for (const PropertyChange& c : changes) {
        Ref<Object> type = NewTextType();
        FileTypeToString(type.get());
        c.change(type.get());
        EXPECT_TRUE(Added().empty()) << c.property;
        FileTypeToString(type.get());
        EXPECT_EQ(Added(), (std::vector<std::string>{c.registeredAfter})) << c.property;
    }
    EXPECT_TRUE(Added().empty());  // a type that goes takes its registration along
}

}  // namespace
