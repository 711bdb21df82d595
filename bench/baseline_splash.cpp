// The splash window written directly in Qt 6, as the start-up benchmark's baseline: a
// frameless 330 × 165 window on #EEEEEE with the picture band and the credit line, the same
// places, colours and font size as the program's splash window. It shows the window and runs
// the event loop until it is ended.
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QWidget>

#include "shell/credits.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);

    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.setFixedSize(330, 165);
    QPalette background = window.palette();
    background.setColor(QPalette::Window, QColor(0xEE, 0xEE, 0xEE));
    window.setPalette(background);
    window.setAutoFillBackground(true);

    QLabel picture(&window);
    picture.setGeometry(20, 46, 290, 34);
    picture.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture.setPixmap(
        QPixmap::fromImage(QImage(QStringLiteral(CORVANE_RESOURCE_FOLDER "/corvane2.png"))));

    QLabel credit(QString::fromUtf8(kCreditLine.data(), qsizetype(kCreditLine.size())), &window);
    credit.setGeometry(20, 92, 290, 18);
    credit.setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    QFont font = QApplication::font();
    font.setPointSizeF(9.0);
    credit.setFont(font);
    QPalette blue = credit.palette();
    blue.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0xC7));
    credit.setPalette(blue);

    window.show();
    return app.exec();
}
