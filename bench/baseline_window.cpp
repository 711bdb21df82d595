// The conversion window written directly in Qt 6, as the memory benchmark's baseline: a
// 450 × 300 window under a menu bar with File and Edit menus, holding the same eleven widgets
// at the same places with the same fonts: two number fields, three buttons, three labels, two
// pictures and the hidden, read-only help text. It runs until it is ended.
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QTextEdit>

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

void Place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(left, top, width, height);
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

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Corvane"));

    QMenu* file = window.menuBar()->addMenu(QStringLiteral("File"));
    file->addAction(QStringLiteral("Quit"), QKeySequence(QStringLiteral("Ctrl+Q")), &app,
                    &QApplication::quit);
    QMenu* edit = window.menuBar()->addMenu(QStringLiteral("Edit"));
    edit->addAction(QStringLiteral("Undo"), QKeySequence(QStringLiteral("Ctrl+Z")), [] {});
    edit->addSeparator();
    edit->addAction(QStringLiteral("Cut"), QKeySequence(QStringLiteral("Ctrl+X")), [] {});
    edit->addAction(QStringLiteral("Copy"), QKeySequence(QStringLiteral("Ctrl+C")), [] {});
    edit->addAction(QStringLiteral("Paste"), QKeySequence(QStringLiteral("Ctrl+V")), [] {});
    edit->addAction(QStringLiteral("Clear"), [] {});
    edit->addAction(QStringLiteral("About Corvane"), [] {});

    auto* content = new QWidget(&window);
    content->setFixedSize(450, 300);
    QPalette grey = content->palette();
    grey.setColor(QPalette::Window, QColor(0xEE, 0xEE, 0xEE));
    content->setPalette(grey);
    content->setAutoFillBackground(true);
    window.setCentralWidget(content);

    Place(NumberField(content), 20, 174, 80, 22);
    Place(Picture(content, "corvane.png"), 55, 0, 375, 37);
    Place(Caption(content, Utf8(kCreditLine), FontOf(8), QColor(0x00, 0x00, 0xC7)), 20, 35, 410,
          16);
    Place(Button(content, "Calculate", 12, false), 20, 240, 90, 40);
    Place(Button(content, "Clear", 12, false), 340, 240, 90, 40);
    Place(NumberField(content), 350, 174, 80, 22);
    Place(Caption(content, QStringLiteral("r"), FontOf(14, true, true), Qt::black), 20, 155, 80,
          20);
    Place(Caption(content, QStringLiteral("z"), FontOf(14, true), Qt::black), 350, 155, 80, 20);
    Place(Picture(content, "Checks.png"), 9, 4, 34, 33);

    auto* help = new QTextEdit(content);
    help->setPlainText(Utf8(MainWnd::kHelpText));
    help->setReadOnly(true);
    help->setFrameStyle(QFrame::NoFrame);
    help->setFont(FontOf(11));
    help->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    help->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Place(help, 20, 63, 409, 73);
    help->hide();

    Place(Button(content, "?", 16, true), 180, 240, 90, 40);

    window.setFixedSize(window.sizeHint());
    window.show();
    return app.exec();
}
