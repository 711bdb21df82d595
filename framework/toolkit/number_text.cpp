#include "framework/toolkit/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string_view>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// ---------------------------------------------------------------------------------------------
// Val

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The decimal exponent of the leading nonzero digit of a number written as
// <integer digits>.<fraction digits>e<exponent>; used to tell overflow from underflow when
// from_chars reports a value out of range. All-zero digits never get here (zero is in range).
int64_t LeadingDigitExponent(std::string_view integer, std::string_view fraction,
                             int64_t exponent) {
    size_t first = integer.find_first_not_of('0');
    if (first != std::string_view::npos) {
        return static_cast<int64_t>(integer.size() - first) - 1 + exponent;
    }
    first = fraction.find_first_not_of('0');
    if (first == std::string_view::npos) first = fraction.size();
    return -static_cast<int64_t>(first) - 1 + exponent;
}

// ---------------------------------------------------------------------------------------------
// Format

// A char buffer on the stack, moved to the heap only when a call needs more.
template <size_t N>
class Scratch {
public:
    char* Get(size_t size) {
        if (size <= N) return local_;
        heap_ = std::make_unique<char[]>(size);
        return heap_.get();
    }

private:
    char local_[N];
    std::unique_ptr<char[]> heap_;
};

// Digits after the point that any Double can have: the smallest denormal, 2^-1074, has 1074.
// Asking to_chars for more only adds zeros, which are filled in here instead.
constexpr int kMaxExactDecimals = 1100;
// Integer digits of the largest Double (about 1.8e308).
constexpr size_t kMaxIntegerDigits = 309;

// What one section of a pattern asks for.
struct Section {
    std::string_view text;
    int integer_places = 0;   // 0/# before the point
    int min_integer = 0;      // position of the leftmost 0 before the point, counted from it
    int fraction_places = 0;  // 0/# after the point
    int min_fraction = 0;     // position of the rightmost 0 after the point
    int percent = 0;          // number of "%"
    bool has_point = false;
    bool grouping = false;
    bool has_sign = false;
};

Section Analyse(std::string_view text) {
    Section s;
    s.text = text;
    int leftmost_zero = -1;  // index among integer placeholders, from the left
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '0' || c == '#') {
            if (s.has_point) {
                ++s.fraction_places;
                if (c == '0') s.min_fraction = s.fraction_places;
            } else {
                if (c == '0' && leftmost_zero < 0) leftmost_zero = s.integer_places;
                ++s.integer_places;
            }
            continue;
        }
        switch (c) {
            case '\\':
                ++i;
                break;
            case '.':
                s.has_point = true;
                break;
            case ',':
                if (!s.has_point) s.grouping = true;
                break;
            case '+':
            case '-':
                s.has_sign = true;
                break;
            case '%':
                ++s.percent;
                break;
            default:
                break;
        }
    }
    if (leftmost_zero >= 0) s.min_integer = s.integer_places - leftmost_zero;
    return s;
}

// The value's decimal digits, rounded for a section and scaled by its "%".
struct Rounded {
    const char* integer = nullptr;  // significant integer digits: no leading zeros
    size_t integer_size = 0;
    const char* fraction = nullptr;  // exactly fraction_places digits
    bool zero = true;                // every digit shown is 0
};

// Rounds magnitude (finite, >= 0) to the section's decimals into scratch, which must hold
// RoundedSize(section) bytes.
size_t RoundedSize(const Section& s) {
    return kMaxIntegerDigits + 2 + 2 * static_cast<size_t>(s.percent) +
           static_cast<size_t>(s.fraction_places) + 8;
}

Rounded Round(double magnitude, const Section& s, char* scratch, size_t scratch_size) {
    const int shift = 2 * s.percent;
    const int wanted = s.fraction_places + shift;
    const int precision = std::min(wanted, kMaxExactDecimals);
    char* end = std::to_chars(scratch, scratch + scratch_size, magnitude, std::chars_format::fixed,
                              precision)
                    .ptr;
    char* point = precision > 0 ? end - precision - 1 : end;  // where the "." is, or the end
    const char* integer_end = point;
    const char* fraction = point + 1;
    if (shift > 0 || precision < wanted) {
        // "III.FFF" -> "IIIFFF", padded with zeros to the digits the section asks for; the
        // integer part then takes the first `shift` fraction digits.
        if (precision > 0) {
            std::memmove(point, point + 1, static_cast<size_t>(precision));
            --end;
        }
        std::fill(end, end + (wanted - precision), '0');
        integer_end = point + shift;
        fraction = integer_end;
    }

    Rounded r;
    const char* digits = scratch;
    while (digits < integer_end && *digits == '0') ++digits;
    r.integer = digits;
    r.integer_size = static_cast<size_t>(integer_end - digits);
    r.fraction = fraction;
    r.zero = r.integer_size == 0 &&
             std::all_of(fraction, fraction + s.fraction_places, [](char c) { return c == '0'; });
    return r;
}

// Writes a section with rounded digits into out (large enough: see Render's caller).
// negative: the sign the "+"/"-" characters show; auto_minus: prefix "-" when the section has
// no sign character of its own.
size_t Render(const Section& s, const Rounded& r, bool negative, bool auto_minus, char* out) {
    char* o = out;
    if (negative && auto_minus && !s.has_sign) *o++ = '-';

    const int integer_total = std::max(static_cast<int>(r.integer_size), s.min_integer);
    // Digit at position q (1 = units) of the integer part, zero-padded on the left.
    auto put_integer_digit = [&](int q) {
        *o++ = q <= static_cast<int>(r.integer_size) ? r.integer[r.integer_size - q] : '0';
        if (s.grouping && q > 1 && (q - 1) % 3 == 0) *o++ = ',';
    };
    auto put_all_integer_digits = [&] {
        for (int q = integer_total; q >= 1; --q) put_integer_digit(q);
    };

    // Fraction digits shown: up to the rightmost 0, or to the last nonzero digit.
    int fraction_shown = s.fraction_places;
    while (fraction_shown > s.min_fraction && r.fraction[fraction_shown - 1] == '0') {
        --fraction_shown;
    }

    bool after_point = false;
    int integer_index = 0;   // integer placeholders seen
    int fraction_index = 0;  // fraction placeholders seen
    const std::string_view t = s.text;
    for (size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        if (c == '0' || c == '#') {
            if (after_point) {
                // A run of fraction placeholders takes its digits in one copy.
                size_t stop = i + 1;
                while (stop < t.size() && (t[stop] == '0' || t[stop] == '#')) ++stop;
                const int first = fraction_index;
                fraction_index += static_cast<int>(stop - i);
                const int last = std::min(fraction_index, fraction_shown);
                if (last > first) {
                    std::memcpy(o, r.fraction + first, static_cast<size_t>(last - first));
                    o += last - first;
                }
                i = stop - 1;
            } else {
                const int position = s.integer_places - integer_index;  // from the point
                ++integer_index;
                if (integer_index == 1) {
                    // The leftmost placeholder takes every digit beyond the placeholders.
                    for (int q = integer_total; q > position; --q) put_integer_digit(q);
                }
                if (position <= integer_total) put_integer_digit(position);
            }
            continue;
        }
        switch (c) {
            case '\\':
                if (++i < t.size()) *o++ = t[i];
                break;
            case '.':
                if (after_point) {
                    *o++ = '.';
                } else {
                    after_point = true;
                    if (s.integer_places == 0) put_all_integer_digits();
                    if (fraction_shown > 0) *o++ = '.';
                }
                break;
            case ',':
                if (after_point) *o++ = ',';
                break;
            case '+':
                *o++ = negative ? '-' : '+';
                break;
            case '-':
                if (negative) *o++ = '-';
                break;
            default:
                *o++ = c;
                break;
        }
    }
    if (!s.has_point && s.integer_places == 0) put_all_integer_digits();
    return static_cast<size_t>(o - out);
}

// Output bytes a section can need: each pattern byte gives at most one, except the integer
// digits (with their separators) and the automatic "-".
size_t RenderSize(const Section& s, const Rounded& r) {
    const size_t digits = std::max(r.integer_size, static_cast<size_t>(s.min_integer));
    return s.text.size() + digits + digits / 3 + 2;
}

// Splits a pattern at the ";" that are not escaped; at most three sections, so a third
// section ends at the next ";" and whatever follows is ignored.
int SplitSections(std::string_view pattern, std::string_view sections[3]) {
    if (std::memchr(pattern.data(), ';', pattern.size()) == nullptr) {
        sections[0] = pattern;
        return 1;
    }
    int count = 0;
    size_t start = 0;
    size_t i = 0;
    for (;;) {
        if (i >= pattern.size() || pattern[i] == ';') {
            const size_t stop = std::min(i, pattern.size());
            sections[count++] = pattern.substr(start, stop - start);
            if (count == 3 || i >= pattern.size()) return count;
            start = ++i;
        } else {
            i += pattern[i] == '\\' ? 2 : 1;
        }
    }
}

String ShortestText(double value) {
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return String(std::string_view(buffer, static_cast<size_t>(result.ptr - buffer)));
}

}  // namespace

double StringVal(const String& text) {
    const std::string_view s = text.View();
    const char* p = s.data();
    const char* const end = p + s.size();

    while (p < end && IsBlank(*p)) ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }

    const char* const number = p;
    while (p < end && IsDigit(*p)) ++p;
    const std::string_view integer(number, static_cast<size_t>(p - number));
    std::string_view fraction;
    if (p < end && *p == '.') {
        const char* const fraction_start = ++p;
        while (p < end && IsDigit(*p)) ++p;
        fraction = std::string_view(fraction_start, static_cast<size_t>(p - fraction_start));
    }
    if (integer.empty() && fraction.empty()) return 0.0;

    // The exponent, only when a digit follows "e", "e+" or "e-". Its value is kept (capped)
    // for telling overflow from underflow; from_chars reads it again itself.
    int64_t exponent = 0;
    if (p < end && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        bool exponent_negative = false;
        if (q < end && (*q == '+' || *q == '-')) {
            exponent_negative = *q == '-';
            ++q;
        }
        if (q < end && IsDigit(*q)) {
            while (q < end && IsDigit(*q)) {
                if (exponent < 1'000'000'000) exponent = exponent * 10 + (*q - '0');
                ++q;
            }
            if (exponent_negative) exponent = -exponent;
            p = q;
        }
    }

    double value = 0.0;
    const auto result = std::from_chars(number, p, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        value = LeadingDigitExponent(integer, fraction, exponent) > 0
                    ? std::numeric_limits<double>::infinity()
                    : 0.0;
    } else if (result.ec != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

String StringFormat(double value, const String& pattern) {
    if (std::isnan(value)) return String("NaN");
    if (std::isinf(value)) return String(value > 0 ? "+Infinity" : "-Infinity");
    if (pattern.Empty()) return ShortestText(value);

    std::string_view sections[3];
    const int count = SplitSections(pattern.View(), sections);

    const bool negative = std::signbit(value);
    bool own_negative_section = negative && count >= 2 && !sections[1].empty();
    Section section = Analyse(own_negative_section ? sections[1] : sections[0]);

    Scratch<1024> digit_scratch;
    size_t digit_size = RoundedSize(section);
    Rounded rounded = Round(std::fabs(value), section, digit_scratch.Get(digit_size), digit_size);

    bool shown_negative = negative && !rounded.zero;
    if (rounded.zero && count >= 3 && !sections[2].empty()) {
        // A value shown as zero takes the zero section.
        section = Analyse(sections[2]);
        digit_size = RoundedSize(section);
        rounded = Round(0.0, section, digit_scratch.Get(digit_size), digit_size);
        own_negative_section = false;
        shown_negative = false;
    }
    if (own_negative_section) shown_negative = true;

    Scratch<512> out_scratch;
    char* out = out_scratch.Get(RenderSize(section, rounded));
    const size_t size = Render(section, rounded, shown_negative, !own_negative_section, out);
    return String(std::string_view(out, size));
}

int64_t StringDBCSAsc(const String& text) {
    const std::string_view s = text.View();
    if (s.empty()) return 0;
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(s[i]); };
    const uint8_t lead = byte(0);
    if (lead < 0x80) return lead;

    size_t length;
    uint32_t code;
    uint32_t minimum;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1Fu, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0Fu, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07u, minimum = 0x10000;
    } else {
        return lead;  // a continuation byte, an overlong lead (C0, C1) or beyond F4
    }
    if (s.size() < length) return lead;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0u) != 0x80u) return lead;
        code = (code << 6) | (byte(i) & 0x3Fu);
    }
    // Overlong forms, UTF-16 surrogates and code points beyond U+10FFFF are not characters.
    if (code < minimum || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return lead;
    return code;
}

double Abs(double value) {
    return std::fabs(value);
}

double Log(double value) {
    return std::log(value);
}

double Exp(double value) {
    return std::exp(value);
}
