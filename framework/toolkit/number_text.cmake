# Val, Format, Asc and friends: the toolkit's number/text functions, free of Qt.
add_library(fw_number_text STATIC ${PROJECT_SOURCE_DIR}/framework/toolkit/number_text.cpp)
target_link_libraries(fw_number_text PUBLIC fw_runtime)
target_include_directories(fw_number_text PUBLIC ${PROJECT_SOURCE_DIR})
