// Times a press of "Calculate", in-process on the offscreen platform, in the real conversion
// window and in the same window written directly in Qt (bench/plain_conversion_window), whose
// handler does what the program's does: hides the help text, reads both fields, converts r
// into z and z back into r, and writes the same texts. The program's press goes through the
// button's Action event to the handler, which reaches both fields through the accessors by
// name, Val and Format. Each is pressed by a mouse click on the QPushButton and by click();
// a plain button whose click does nothing shows what Qt's delivery of a press costs alone.
// The fields are set before each press, outside the timed region; events the press posted
// are processed there too. Prints median and 99th percentile, and the ratios of the medians.
//
//   calculate_bench [presses [row]]   presses defaults to 10,000; with a row, only the rows
//                                     whose labels contain it (for a profiler's run)

#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "bench/plain_conversion_window.h"
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

// A window to press "Calculate" in: how its fields are set and read, and its button.
struct Subject {
    std::function<void(const char* r, const char* z)> setFields;
    std::function<std::string(bool r)> field;
    QPushButton* button;
};

Subject ProgramWindow(Object* window) {
    const auto fieldOf = [window](bool r) {
        return RuntimeCallSlot<Ref<Object>>(window, r ? W::kREditSlot : W::kZEditSlot);
    };
    return {[fieldOf](const char* r, const char* z) {
                editTextSetter(fieldOf(true).get(), 0, String(r));
                editTextSetter(fieldOf(false).get(), 0, String(z));
            },
            [fieldOf](bool r) { return editTextGetter(fieldOf(r).get(), 0).Std(); },
            QtControl<QPushButton>(window, "CalcBtn")};
}

Subject PlainWindow(const PlainConversionWindow& plain) {
    return {[plain](const char* r, const char* z) {
                plain.r->setText(QString::fromUtf8(r));
                plain.z->setText(QString::fromUtf8(z));
            },
            [plain](bool r) { return (r ? plain.r : plain.z)->text().toStdString(); },
            plain.calculate};
}

struct Figures {
    double median_us, p99_us;
};

Figures Summarise(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times[std::min(times.size() - 1, times.size() * 99 / 100)]};
}

enum class Press { kMouse, kClick };

// Out of line, so that a profiler can collect exactly the presses (callgrind
// --toggle-collect='*PressOnce*').
size_t gPresses = 0;  // in all, warm-up and checks included

[[gnu::noinline]] void PressOnce(QPushButton* button, Press press) {
    ++gPresses;
    if (press == Press::kMouse) {
        QTest::mouseClick(button, Qt::LeftButton);
    } else {
        button->click();
    }
}

// Appends the times of `presses` presses, each after the fields are set to r and z.
void TimePresses(const Subject& subject, Press press, size_t presses, const char* r,
                 const char* z, std::vector<double>& times) {
    for (size_t i = 0; i < presses; ++i) {
        subject.setFields(r, z);
        QApplication::processEvents();
        const auto start = std::chrono::steady_clock::now();
        PressOnce(subject.button, press);
        const auto stop = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
    }
    QApplication::processEvents();
}

struct Row {
    const char* label;
    const Subject* subject;
    Press press;
    const char* r;
    const char* z;
    const char* rAfter;  // what the fields show after a press; nil: not checked
    const char* zAfter;
};

}  // namespace

int main(int argc, char** argv) {
    const size_t presses = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 10'000;
    const std::string only = argc > 2 ? argv[2] : "";
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
    const Subject program = ProgramWindow(window.get());
    auto* rEdit = QtControl<QLineEdit>(window.get(), "rEdit");
    if (!rEdit || !program.button) {
        std::fprintf(stderr, "calculate_bench: the conversion window has no rEdit or CalcBtn\n");
        return 1;
    }

    // The first press as a person makes it: 0.5 typed into r.
    QTest::keyClicks(rEdit, QStringLiteral("0.5"));
    QTest::mouseClick(program.button, Qt::LeftButton);
    std::printf("calculate: r 0.5 gives r %s, z %s\n", program.field(true).c_str(),
                program.field(false).c_str());
    if (program.field(true) != "+.500000" || program.field(false) != "+0.549306") {
        std::fprintf(stderr, "calculate_bench: unexpected result\n");
        return 1;
    }

    QMainWindow plainMain;
    const PlainConversionWindow plainWidgets = BuildPlainConversionWindow(plainMain);
    QObject::connect(plainWidgets.calculate, &QPushButton::clicked,
                     [&plainWidgets] { PlainCalculate(plainWidgets); });
    plainMain.show();
    const Subject plain = PlainWindow(plainWidgets);

    // For scale, a plain QPushButton whose click does nothing.
    QWidget idleWindow;
    idleWindow.resize(450, 300);
    QPushButton idleButton(QStringLiteral("Calculate"), &idleWindow);
    idleButton.setGeometry(20, 240, 90, 40);
    int idleClicks = 0;
    QObject::connect(&idleButton, &QPushButton::clicked, [&idleClicks] { ++idleClicks; });
    idleWindow.show();
    const Subject idle{[](const char*, const char*) {}, [](bool) { return std::string(); },
                       &idleButton};
    QApplication::processEvents();

    // clang-format off
    const Row rows[] = {
        // label                        subject   press          r      z      r after     z after
        {"r given, mouse click",        &program, Press::kMouse, "0.5", "",    "+.500000", "+0.549306"},
        {"plain Qt, r, mouse click",    &plain,   Press::kMouse, "0.5", "",    "+.500000", "+0.549306"},
        {"z given, mouse click",        &program, Press::kMouse, "",    "0.5", "+.462117", "0.5"},
        {"plain Qt, z, mouse click",    &plain,   Press::kMouse, "",    "0.5", "+.462117", "0.5"},
        {"r given, click()",            &program, Press::kClick, "0.5", "",    "+.500000", "+0.549306"},
        {"plain Qt, r, click()",        &plain,   Press::kClick, "0.5", "",    "+.500000", "+0.549306"},
        {"z given, click()",            &program, Press::kClick, "",    "0.5", "+.462117", "0.5"},
        {"plain Qt, z, click()",        &plain,   Press::kClick, "",    "0.5", "+.462117", "0.5"},
        {"idle button, mouse click",    &idle,    Press::kMouse, "",    "",    nullptr,    nullptr},
        {"idle button, click()",        &idle,    Press::kClick, "",    "",    nullptr,    nullptr},
    };
    // clang-format on

    const auto chosen = [&only](const Row& row) {
        return std::string_view(row.label).find(only) != std::string_view::npos;
    };

    // One press of each row first, checked against what the fields must show.
    for (const Row& row : rows) {
        if (!row.rAfter || !chosen(row)) continue;
        std::vector<double> ignored;
        TimePresses(*row.subject, row.press, 1, row.r, row.z, ignored);
        if (row.subject->field(true) != row.rAfter || row.subject->field(false) != row.zAfter) {
            std::fprintf(stderr, "calculate_bench: %s left r %s, z %s\n", row.label,
                         row.subject->field(true).c_str(), row.subject->field(false).c_str());
            return 1;
        }
    }

    // The rows take turns in rounds, so that a change in the machine's load falls on all of
    // them alike; a first round of a tenth of the presses warms up and is not counted.
    constexpr size_t kRounds = 10;
    const size_t perRound = (presses + kRounds - 1) / kRounds;
    std::vector<std::vector<double>> times(std::size(rows));
    for (size_t round = 0; round <= kRounds; ++round) {
        for (size_t i = 0; i < std::size(rows); ++i) {
            std::vector<double> warmUp;
            const Row& row = rows[i];
            if (!chosen(row)) continue;
            TimePresses(*row.subject, row.press, perRound, row.r, row.z,
                        round == 0 ? warmUp : times[i]);
        }
    }
    std::printf("calculate: %zu presses each (us)\n", perRound * kRounds);
    std::printf("  %-26s%9s%9s\n", "", "median", "p99");
    std::vector<Figures> figures;
    for (size_t i = 0; i < std::size(rows); ++i) {
        figures.push_back(times[i].empty() ? Figures{0, 0} : Summarise(times[i]));
        if (!times[i].empty())
            std::printf("  %-26s%9.2f%9.2f\n", rows[i].label, figures[i].median_us,
                        figures[i].p99_us);
    }
    // Each program row is followed by its plain-Qt row.
    std::printf("calculate: program / plain Qt (medians)\n");
    for (size_t i = 0; i + 1 < std::size(rows); ++i)
        if (rows[i].subject == &program && rows[i + 1].subject == &plain &&
            figures[i + 1].median_us > 0)
            std::printf("  %-26s%9.3f\n", rows[i].label,
                        figures[i].median_us / figures[i + 1].median_us);

    std::printf("calculate: %zu presses in all\n", gPresses);

    if ((only.empty() && idleClicks == 0) || PlainCalculateMessages() != 0) return 1;
    RuntimeCloseWindow(window.get());
    window.Reset();
    QApplication::processEvents();
    return 0;
}
