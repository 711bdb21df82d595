#include "bench/plain_conversion_window.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QPixmap>
#include <cmath>

#include "conversion/help_text.h"
#include "shell/credits.h"

namespace {

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QFont FontOf(double points, bool bold = false, bool italic = false) {
    QFont font = QApplication::font();
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

template <class Widget>
Widget* Place(Widget* widget, int left, int top, int width, int height) {
    widget->setGeometry(left, top, width, height);
    return widget;
}

QLabel* Picture(QWidget* parent, const char* file) {
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setPixmap(QPixmap::fromImage(
        QImage(QString::fromUtf8(CORVANE_RESOURCE_FOLDER "/") + QString::fromUtf8(file))));
    return label;
}

QLabel* Caption(QWidget* parent, const QString& text, const QFont& font, const QColor& colour) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

QLineEdit* NumberField(QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setMaxLength(9);
    field->setAlignment(Qt::AlignHCenter);
    field->setFont(FontOf(12));
    return field;
}

QPushButton* Button(QWidget* parent, const char* caption, double points, bool bold) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setFont(FontOf(points, bold));
    return button;
}

void AddMenus(QMainWindow& window) {
    QMenu* file = window.menuBar()->addMenu(QStringLiteral("File"));
    file->addAction(QStringLiteral("Quit"), QKeySequence(QStringLiteral("Ctrl+Q")), qApp,
                    &QApplication::quit);
    QMenu* edit = window.menuBar()->addMenu(QStringLiteral("Edit"));
    edit->addAction(QStringLiteral("Undo"), QKeySequence(QStringLiteral("Ctrl+Z")), [] {});
    edit->addSeparator();
    edit->addAction(QStringLiteral("Cut"), QKeySequence(QStringLiteral("Ctrl+X")), [] {});
    edit->addAction(QStringLiteral("Copy"), QKeySequence(QStringLiteral("Ctrl+C")), [] {});
    edit->addAction(QStringLiteral("Paste"), QKeySequence(QStringLiteral("Ctrl+V")), [] {});
    edit->addAction(QStringLiteral("Clear"), [] {});
    edit->addAction(QStringLiteral("About Corvane"), [] {});
}

QTextEdit* HelpText(QWidget* parent) {
    auto* help = new QTextEdit(parent);
    help->setPlainText(Utf8(MainWnd::kHelpText));
    help->setReadOnly(true);
    help->setFrameStyle(QFrame::NoFrame);
    help->setFont(FontOf(11));
    help->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    help->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    help->hide();
    return help;
}

// The conversion's limits and patterns, as the program states them.
constexpr double kRLowerLimit = 0.000001;
constexpr double kRUpperLimit = 0.999999;
constexpr double kZLimit = 6.10303;

int gMessages = 0;

// Six decimals after a sign, and for r without the zero before the point ("+.500000").
QString Signed(double value, bool leadingZero) {
    QString text = QString::number(value, 'f', 6);
    if (!text.startsWith(QLatin1Char('-'))) text.prepend(QLatin1Char('+'));
    if (!leadingZero && text.size() > 1 && text[1] == QLatin1Char('0')) text.remove(1, 1);
    return text;
}

}  // namespace

PlainConversionWindow BuildPlainConversionWindow(QMainWindow& window) {
    window.setWindowTitle(QStringLiteral("Corvane"));
    AddMenus(window);

    auto* content = new QWidget(&window);
    content->setFixedSize(450, 300);
    QPalette grey = content->palette();
    grey.setColor(QPalette::Window, QColor(0xEE, 0xEE, 0xEE));
    content->setPalette(grey);
    content->setAutoFillBackground(true);
    window.setCentralWidget(content);

    PlainConversionWindow widgets{};
    widgets.r = Place(NumberField(content), 20, 174, 80, 22);
    Place(Picture(content, "corvane.png"), 55, 0, 375, 37);
    Place(Caption(content, Utf8(kCreditLine), FontOf(8), QColor(0x00, 0x00, 0xC7)), 20, 35, 410,
          16);
    widgets.calculate = Place(Button(content, "Calculate", 12, false), 20, 240, 90, 40);
    Place(Button(content, "Clear", 12, false), 340, 240, 90, 40);
    widgets.z = Place(NumberField(content), 350, 174, 80, 22);
    Place(Caption(content, QStringLiteral("r"), FontOf(14, true, true), Qt::black), 20, 155, 80,
          20);
    Place(Caption(content, QStringLiteral("z"), FontOf(14, true), Qt::black), 350, 155, 80, 20);
    Place(Picture(content, "Checks.png"), 9, 4, 34, 33);
    widgets.help = Place(HelpText(content), 20, 63, 409, 73);
    Place(Button(content, "?", 16, true), 180, 240, 90, 40);

    window.setFixedSize(window.sizeHint());
    return widgets;
}

void PlainCalculate(const PlainConversionWindow& widgets) {
    widgets.help->hide();
    if (widgets.r->text().isEmpty() && widgets.z->text().isEmpty()) {
        ++gMessages;  // the program beeps here
        return;
    }
    double r = widgets.r->text().toDouble();
    if (std::abs(r) >= kRLowerLimit && std::abs(r) < 1.0)
        widgets.z->setText(Signed(0.5 * std::log((1.0 + r) / (1.0 - r)), true));
    const double z = widgets.z->text().toDouble();
    if (z >= -kZLimit && z <= kZLimit) {
        const double e = std::exp(2.0 * z);
        r = (e - 1.0) / (e + 1.0);
        widgets.r->setText(Signed(r, false));
    }
    if (std::abs(r) < kRLowerLimit || std::abs(r) > kRUpperLimit) ++gMessages;
}

int PlainCalculateMessages() {
    return gMessages;
}
