// Times a press of "Calculate" in the real conversion window, in-process on the offscreen
// platform: a mouse click on the button's QPushButton (and, for comparison, a plain click()),
// through the Action event to the handler, which reads and writes both fields through the
// accessors by name, Val and Format. The fields are set before each press, outside the timed
// region; events the press posted are processed there too. Prints median and 99th percentile.
//
//   calculate_bench [presses]     presses defaults to 10,000

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "conversion/main_wnd.h"
#include "framework/toolkit/toolkit_internal.h"
#include "framework/toolkit/toolkit_testing.h"
#include "shell/startup.h"

namespace {

using W = struct MainWnd::MainWnd;

template <class T>
T* QtControl(Object* window, const char* name) {
    QWidget* widget = ToolkitWindowWidget(window)->findChild<QWidget*>(QString::fromUtf8(name));
    if (!widget) return nullptr;
    if (auto* exact = qobject_cast<T*>(widget)) return exact;
    return widget->findChild<T*>();
}

void SetField(Object* window, uint32_t slot, const char* text) {
    Ref<Object> field = RuntimeCallSlot<Ref<Object>>(window, slot);
    editTextSetter(field.get(), 0, String(text));
}

std::string FieldText(Object* window, uint32_t slot) {
    Ref<Object> field = RuntimeCallSlot<Ref<Object>>(window, slot);
    return editTextGetter(field.get(), 0).Std();
}

struct Figures {
    double median_us, p99_us;
};

Figures Summarise(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times[std::min(times.size() - 1, times.size() * 99 / 100)]};
}

// Appends the times of `presses` presses, each after the fields are set to r and z.
void TimePresses(Object* window, size_t presses, const char* r, const char* z,
                 const std::function<void()>& press, std::vector<double>& times) {
    for (size_t i = 0; i < presses; ++i) {
        SetField(window, W::kREditSlot, r);
        SetField(window, W::kZEditSlot, z);
        QApplication::processEvents();
        const auto start = std::chrono::steady_clock::now();
        press();
        const auto stop = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
    }
    QApplication::processEvents();
}

}  // namespace

int main(int argc, char** argv) {
    const size_t presses = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 10'000;
    if (presses == 0) return 2;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RuntimeInit(argc, argv);
    RuntimeInitExternalClasses();
    RuntimeSetExceptionHelper(AsGenericFn(&under_CallFunctionWithExceptionHandling));
    ToolkitRecordMessageBoxes(true);  // a range message must not stop the loop
    ToolkitSetResourceFolder(CORVANE_RESOURCE_FOLDER);

    Ref<Object> window = MainWnd::MainWnd();
    QApplication::processEvents();
    auto* rEdit = QtControl<QLineEdit>(window.get(), "rEdit");
    auto* button = QtControl<QPushButton>(window.get(), "CalcBtn");
    if (!rEdit || !button) {
        std::fprintf(stderr, "calculate_bench: the conversion window has no rEdit or CalcBtn\n");
        return 1;
    }

    // The first press as a person makes it: 0.5 typed into r.
    QTest::keyClicks(rEdit, QStringLiteral("0.5"));
    QTest::mouseClick(button, Qt::LeftButton);
    const std::string rShown = FieldText(window.get(), W::kREditSlot);
    const std::string zShown = FieldText(window.get(), W::kZEditSlot);
    std::printf("calculate: r 0.5 gives r %s, z %s\n", rShown.c_str(), zShown.c_str());
    if (rShown != "+.500000" || zShown != "+0.549306") {
        std::fprintf(stderr, "calculate_bench: unexpected result\n");
        return 1;
    }

    // For scale, the same presses on a plain QPushButton whose click does nothing.
    QWidget plainWindow;
    plainWindow.resize(450, 300);
    QPushButton plain(QStringLiteral("Calculate"), &plainWindow);
    plain.setGeometry(20, 240, 90, 40);
    int plainClicks = 0;
    QObject::connect(&plain, &QPushButton::clicked, [&plainClicks] { ++plainClicks; });
    plainWindow.show();
    QApplication::processEvents();

    const std::function<void()> mouse = [button] { QTest::mouseClick(button, Qt::LeftButton); };
    const std::function<void()> click = [button] { button->click(); };
    const std::function<void()> plainMouse = [&plain] {
        QTest::mouseClick(&plain, Qt::LeftButton);
    };
    const std::function<void()> plainClick = [&plain] { plain.click(); };
    struct Row {
        const char* label;
        const char* r;
        const char* z;
        const std::function<void()>& press;
        const char* rAfter;  // what the fields show after the last press; nil: not checked
        const char* zAfter;
    };
    const Row rows[] = {
        {"r given, mouse click", "0.5", "", mouse, "+.500000", "+0.549306"},
        {"z given, mouse click", "", "0.5", mouse, "+.462117", "0.5"},
        {"r given, click()", "0.5", "", click, "+.500000", "+0.549306"},
        {"z given, click()", "", "0.5", click, "+.462117", "0.5"},
        {"plain Qt, mouse click", "0.5", "", plainMouse, nullptr, nullptr},
        {"plain Qt, click()", "0.5", "", plainClick, nullptr, nullptr},
    };
    // The rows take turns in rounds, so that a change in the machine's load falls on all of
    // them alike; a first round of a tenth of the presses warms up and is not counted.
    constexpr size_t kRounds = 10;
    const size_t perRound = (presses + kRounds - 1) / kRounds;
    std::vector<std::vector<double>> times(std::size(rows));
    for (size_t round = 0; round <= kRounds; ++round) {
        for (size_t row = 0; row < std::size(rows); ++row) {
            std::vector<double> warmUp;
            TimePresses(window.get(), perRound, rows[row].r, rows[row].z, rows[row].press,
                        round == 0 ? warmUp : times[row]);
        }
    }
    std::printf("calculate: %zu presses each (us)\n", perRound * kRounds);
    std::printf("  %-22s%9s%9s\n", "", "median", "p99");
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row& row = rows[i];
        const Figures f = Summarise(times[i]);
        std::printf("  %-22s%9.2f%9.2f\n", row.label, f.median_us, f.p99_us);
    }
    // One more press of each row, checked against what the fields must show.
    for (const Row& row : rows) {
        if (!row.rAfter) continue;
        std::vector<double> ignored;
        TimePresses(window.get(), 1, row.r, row.z, row.press, ignored);
        if (FieldText(window.get(), W::kREditSlot) != row.rAfter ||
            FieldText(window.get(), W::kZEditSlot) != row.zAfter) {
            std::fprintf(stderr, "calculate_bench: %s left r %s, z %s\n", row.label,
                         FieldText(window.get(), W::kREditSlot).c_str(),
                         FieldText(window.get(), W::kZEditSlot).c_str());
            return 1;
        }
    }
    if (plainClicks == 0) return 1;

    RuntimeCloseWindow(window.get());
    window.Reset();
    QApplication::processEvents();
    return 0;
}
