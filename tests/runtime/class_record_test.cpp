#include <gtest/gtest.h>

#include "framework/runtime/runtime.h"

TEST(Smoke, BuildsExceptionRecord) {
    ClassRecord* nil = NilObjectException::dunder_Lookup();
    ASSERT_NE(nil, nullptr);
    EXPECT_STREQ(nil->name, "NilObjectException");
    EXPECT_EQ(nil->superclass, RuntimeException::dunder_Lookup());
}
