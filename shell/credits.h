// The credit line naming the program's authors, shown under the banner of the conversion
// window and on the splash window, and given to the framework as the long version.
#pragma once

#include <string_view>

inline constexpr std::string_view kCreditLine = "by the Corvane Conversion team";
