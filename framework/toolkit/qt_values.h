// The framework's texts and colours as Qt's, and back. Framework texts are UTF-8; a
// framework colour's alpha counts transparency (0 is opaque), a QColor's opacity.
#pragma once

#include <QColor>
#include <QRect>
#include <QString>

#include "framework/runtime/runtime.h"

inline QString ToQString(const String& text) {
    std::string_view bytes = text.View();
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

inline String FromQString(const QString& text) {
    QByteArray bytes = text.toUtf8();
    return String(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

inline QColor ToQColor(Color color) {
    return QColor(color.red, color.green, color.blue, 255 - color.alpha);
}

inline QRect ToQRect(int64_t left, int64_t top, int64_t width, int64_t height) {
    return QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(width),
                 static_cast<int>(height));
}
