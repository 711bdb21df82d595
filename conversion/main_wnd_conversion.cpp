// "Calculate": Pearson's r into Fisher's z, z = 0.5 ln((1 + r) / (1 - r)), and the z shown
// back into r, r = (e^2z - 1) / (e^2z + 1), each written as a signed text with six decimals.
#include "conversion/main_wnd.h"
#include "conversion/main_wnd_accessors.h"

namespace MainWnd {
namespace {

constexpr double kHalf = 0.5;  // factor of the logarithm
constexpr double kOne = 1.0;
constexpr double kTwo = 2.0;               // factor of z inside the exponential
constexpr double kRLowerLimit = 0.000001;  // least |r| converted, and least |r| accepted
constexpr double kRConvertLimit = 1.0;     // |r| must stay below it to be converted into z
constexpr double kRUpperLimit = 0.999999;  // greatest |r| accepted without the message
constexpr double kZLimit = 6.10303;        // greatest |z| converted back into r

constexpr const char* kZPattern = "+0.000000";
constexpr const char* kRPattern = "+.000000";
constexpr const char* kRangeMessage = "r values must range from -1.00 to +1.00";

bool IsEmpty(const String& text) {
    return RuntimeStringCompare(text, String()) == 0;
}

double GetR(Object* self) {
    return props::Double::Get(self, MainWnd::kROffset);
}
void SetR(Object* self, double r) {
    props::Double::Set(self, MainWnd::kROffset, r);
}
double GetZ(Object* self) {
    return props::Double::Get(self, MainWnd::kZOffset);
}
void SetZ(Object* self, double z) {
    props::Double::Set(self, MainWnd::kZOffset, z);
}

}  // namespace

void MainWnd::CalcBtn_Action(Object* self, Object* /*button*/) {
    {
        Ref<Object> help = RequireAccessor(self, kDescribeTxtSlot);
        ControlVisibleSetter(help.get(), 0, false);
    }

    // Nothing to convert: both fields empty.
    if (IsEmpty(FieldText(self, kREditSlot)) && IsEmpty(FieldText(self, kZEditSlot))) {
        Beep();
        return;
    }

    SetR(self, StringVal(FieldText(self, kREditSlot)));

    // r into z, written into the z field; it is read back from there below, so the z used
    // is the one shown.
    if (Abs(GetR(self)) >= kRLowerLimit && kRConvertLimit > Abs(GetR(self))) {
        double r = GetR(self);
        double q = (kOne + r) / (kOne - r);
        double z = kHalf * Log(q);
        SetFieldText(self, kZEditSlot, StringFormat(z, String(kZPattern)));
    }

    SetZ(self, StringVal(FieldText(self, kZEditSlot)));

    // z back into r, within the limits on z (both inclusive).
    if (GetZ(self) >= -kZLimit && kZLimit >= GetZ(self)) {
        double e = Exp(kTwo * GetZ(self));
        SetR(self, (e - kOne) / (e + kOne));
        SetFieldText(self, kREditSlot, StringFormat(GetR(self), String(kRPattern)));
    }

    if (kRLowerLimit > Abs(GetR(self)) || Abs(GetR(self)) > kRUpperLimit)
        RuntimeMsgBox(String(kRangeMessage));
}

}  // namespace MainWnd
