// The conversion window written directly in Qt 6, as the memory benchmark's baseline. It
// shows the window and runs until it is ended.
#include <QApplication>
#include <QMainWindow>

#include "bench/plain_conversion_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    BuildPlainConversionWindow(window);
    window.show();
    return app.exec();
}
