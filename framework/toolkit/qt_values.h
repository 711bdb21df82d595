// The framework's texts and colours as Qt's, and back. Framework texts are UTF-8; a
// framework colour's alpha counts transparency (0 is opaque), a QColor's opacity.
#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <limits>

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

// A design coordinate or size as a Qt int. Qt's geometry adds coordinates to one another, so
// a value far beyond any screen is pinned to half the int range, where that cannot overflow.
inline int ToQtCoordinate(int64_t value) {
    return static_cast<int>(std::clamp<int64_t>(value, std::numeric_limits<int>::min() / 2,
                                                std::numeric_limits<int>::max() / 2));
}

inline QRect ToQRect(int64_t left, int64_t top, int64_t width, int64_t height) {
    return QRect(ToQtCoordinate(left), ToQtCoordinate(top), ToQtCoordinate(width),
                 ToQtCoordinate(height));
}
