// The help text that the "?" button shows: 321 bytes of UTF-8, 315 characters. The
// apostrophes of "Pearson’s" and "z’" are U+2019 (E2 80 99) and the dash before "ln(1-r)"
// is U+2013 (E2 80 93); those of "exp(2*z')" are plain ASCII.
#pragma once

#include <string_view>

namespace MainWnd {

inline constexpr std::string_view kHelpText =
    "The Fisher Z-Transformation is a way to transform the sampling distribution of "
    "Pearson\xE2\x80\x99"
    "s r (i.e. the correlation coefficient) so that it becomes normally distributed. "
    "The formula to transform r to a z-score is: z\xE2\x80\x99"
    " = .5[ln(1+r) \xE2\x80\x93"
    " ln(1-r)]. The formula to transform a Fisher z to an r is: "
    "(exp(2*z')-1 / exp(2*z')+1).";

static_assert(kHelpText.size() == 321);

}  // namespace MainWnd
