#include <gtest/gtest.h>

#include "framework/runtime/runtime.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    RuntimeInit(argc, argv);
    return RUN_ALL_TESTS();
}
