// The conversion window written directly in Qt 6, the baseline the benchmarks hold the
// program against: a 450 × 300 window under a menu bar with File and Edit menus, holding the
// same eleven widgets at the same places with the same fonts: two number fields, three
// buttons, three labels, two pictures and the hidden, read-only help text.
#pragma once

#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTextEdit>

// The widgets a press of "Calculate" uses; they belong to the window.
struct PlainConversionWindow {
    QLineEdit* r;
    QLineEdit* z;
    QPushButton* calculate;
    QTextEdit* help;
};

// Builds the window's menu bar and content into `window`.
PlainConversionWindow BuildPlainConversionWindow(QMainWindow& window);

// "Calculate" as a Qt program would write it: hides the help text, reads the fields with
// QString::toDouble, converts r into z and the z shown back into r with the program's limits,
// writes "+0.000000" and "+.000000" texts made with QString::number, and counts a range
// message or an empty press instead of showing or sounding it.
void PlainCalculate(const PlainConversionWindow& widgets);
int PlainCalculateMessages();
