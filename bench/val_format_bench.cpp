// Times Val and Format against the standard library's from_chars and to_chars (fixed, six
// decimals) on the same values, and prints nanoseconds per call and the ratios.
//
//   val_format_bench [count]     count defaults to 1,000,000

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "framework/toolkit/number_text.h"

namespace {

// Best of a few runs of body over all values, in nanoseconds per value.
template <typename Body>
double TimePerCall(size_t count, Body body) {
    double best = 1e300;
    for (int run = 0; run < 5; ++run) {
        const auto start = std::chrono::steady_clock::now();
        body();
        const auto stop = std::chrono::steady_clock::now();
        const double ns = std::chrono::duration<double, std::nano>(stop - start).count();
        if (ns < best) best = ns;
    }
    return best / static_cast<double>(count);
}

// The kind of numbers the conversion screens show: a sign, magnitudes from 1e-4 to 1e6.
std::vector<double> MakeValues(size_t count) {
    std::mt19937_64 random(2024);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::uniform_int_distribution<int> scale(-4, 6);
    std::vector<double> values(count);
    for (double& v : values) v = unit(random) * std::pow(10.0, scale(random));
    return values;
}

}  // namespace

int main(int argc, char** argv) {
    const size_t count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1'000'000;
    const std::vector<double> values = MakeValues(count);

    // The same texts for both readers: what to_chars prints with six decimals.
    std::vector<std::string> texts(count);
    std::vector<String> strings(count);
    for (size_t i = 0; i < count; ++i) {
        char buffer[64];
        auto end =
            std::to_chars(buffer, buffer + sizeof buffer, values[i], std::chars_format::fixed, 6)
                .ptr;
        texts[i].assign(buffer, end);
        strings[i] = String(texts[i]);
    }

    volatile double sink = 0;
    volatile size_t size_sink = 0;

    const double from_chars_ns = TimePerCall(count, [&] {
        double sum = 0;
        for (const std::string& t : texts) {
            double v = 0;
            std::from_chars(t.data(), t.data() + t.size(), v);
            sum += v;
        }
        sink = sum;
    });
    const double val_ns = TimePerCall(count, [&] {
        double sum = 0;
        for (const String& s : strings) sum += StringVal(s);
        sink = sum;
    });

    const double to_chars_ns = TimePerCall(count, [&] {
        size_t total = 0;
        char buffer[400];
        for (double v : values) {
            total += static_cast<size_t>(
                std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 6).ptr -
                buffer);
        }
        size_sink = total;
    });
    const String with_zero("+0.000000");
    const double format_ns = TimePerCall(count, [&] {
        size_t total = 0;
        for (double v : values) total += StringFormat(v, with_zero).Size();
        size_sink = total;
    });
    const String without_zero("+.000000");
    const double format_point_ns = TimePerCall(count, [&] {
        size_t total = 0;
        for (double v : values) total += StringFormat(v, without_zero).Size();
        size_sink = total;
    });

    std::printf("%zu values\n", count);
    std::printf("from_chars                  %7.1f ns/op\n", from_chars_ns);
    std::printf("StringVal                   %7.1f ns/op   %.2fx from_chars\n", val_ns,
                val_ns / from_chars_ns);
    std::printf("to_chars fixed 6            %7.1f ns/op\n", to_chars_ns);
    std::printf("StringFormat \"+0.000000\"    %7.1f ns/op   %.2fx to_chars\n", format_ns,
                format_ns / to_chars_ns);
    std::printf("StringFormat \"+.000000\"     %7.1f ns/op   %.2fx to_chars\n", format_point_ns,
                format_point_ns / to_chars_ns);
    return 0;
}
