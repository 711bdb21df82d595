// Draws the three pictures used by Corvane Conversion at run time:
//   Checks.png    34 x 33   small check mark for the window's top-left corner
//   corvane.png   375 x 37  banner with the program's name
//   corvane2.png  290 x 34  band for the splash window (name + "r -> z" motif)
//
// Usage: QT_QPA_PLATFORM=offscreen ./draw_pictures <output-directory>
// (draw_pictures.sh builds and runs this program.)

#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QString>

#include <cstdio>

namespace {

const QColor kBackground(0xEE, 0xEE, 0xEE);
const QColor kDarkBlue(0x1A, 0x3A, 0x6E);
const QColor kMidBlue(0x2F, 0x5D, 0xA8);
const QColor kLine(0xB8, 0xC4, 0xD6);

QFont makeFont(qreal pixelSize, int weight)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(qRound(pixelSize));
    f.setWeight(static_cast<QFont::Weight>(weight));
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

bool save(const QImage &img, const QDir &dir, const QString &name)
{
    const QString path = dir.filePath(name);
    if (!img.save(path, "PNG")) {
        std::fprintf(stderr, "draw_pictures: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("wrote %s (%dx%d)\n", qPrintable(path), img.width(), img.height());
    return true;
}

// A soft vertical gradient around the window colour, with a thin rule at the bottom.
void paintBand(QPainter &p, const QSize &size)
{
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0.0, QColor(0xF7, 0xF8, 0xFA));
    g.setColorAt(1.0, kBackground);
    p.fillRect(QRect(QPoint(0, 0), size), g);
    p.setPen(QPen(kLine, 1));
    p.drawLine(QPointF(0, size.height() - 0.5), QPointF(size.width(), size.height() - 0.5));
}

// Checks.png: a rounded blue tile with a white check mark, on transparency.
QImage drawChecks()
{
    QImage img(34, 33, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);

    const QRectF tile(2.5, 2.0, 29.0, 29.0);
    QLinearGradient g(tile.topLeft(), tile.bottomLeft());
    g.setColorAt(0.0, kMidBlue);
    g.setColorAt(1.0, kDarkBlue);
    p.setPen(QPen(QColor(0x12, 0x2A, 0x52), 1.0));
    p.setBrush(g);
    p.drawRoundedRect(tile, 6.0, 6.0);

    QPainterPath check;
    check.moveTo(9.5, 17.0);
    check.lineTo(14.5, 22.5);
    check.lineTo(24.5, 10.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 3.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(check);
    p.end();
    return img;
}

// corvane.png: the program's name in dark blue on a light band.
QImage drawBanner()
{
    const QSize size(375, 37);
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(kBackground);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paintBand(p, size);

    const QString first = QStringLiteral("Corvane");
    const QString second = QStringLiteral(" Conversion");
    const QFont bold = makeFont(22, QFont::Bold);
    const QFont light = makeFont(22, QFont::Normal);
    const QFontMetricsF fmBold(bold), fmLight(light);
    const qreal width = fmBold.horizontalAdvance(first) + fmLight.horizontalAdvance(second);
    qreal x = (size.width() - width) / 2.0;
    const qreal baseline = qRound((size.height() - 1 + fmBold.ascent() - fmBold.descent()) / 2.0);

    p.setFont(bold);
    p.setPen(kDarkBlue);
    p.drawText(QPointF(x, baseline), first);
    x += fmBold.horizontalAdvance(first);
    p.setFont(light);
    p.setPen(kMidBlue);
    p.drawText(QPointF(x, baseline), second);
    p.end();
    return img;
}

// corvane2.png: the name on the left, a small "r -> z" motif on the right.
QImage drawSplashBand()
{
    const QSize size(290, 34);
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(kBackground);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paintBand(p, size);

    const QFont name = makeFont(17, QFont::Bold);
    const QFontMetricsF fmName(name);
    const qreal baseline = qRound((size.height() - 1 + fmName.ascent() - fmName.descent()) / 2.0);
    p.setFont(name);
    p.setPen(kDarkBlue);
    p.drawText(QPointF(10, baseline), QStringLiteral("Corvane Conversion"));

    // Motif: italic r, an arrow, italic z.
    QFont sym = makeFont(17, QFont::Normal);
    sym.setItalic(true);
    const QFontMetricsF fmSym(sym);
    const qreal arrowLen = 18.0;
    const qreal gap = 5.0;
    const qreal motifWidth = fmSym.horizontalAdvance(QStringLiteral("r")) + gap + arrowLen + gap
        + fmSym.horizontalAdvance(QStringLiteral("z"));
    qreal x = size.width() - 10 - motifWidth;

    // thin separator between name and motif
    p.setPen(QPen(kLine, 1));
    p.drawLine(QPointF(x - 9.5, 8), QPointF(x - 9.5, size.height() - 9));

    p.setFont(sym);
    p.setPen(kMidBlue);
    p.drawText(QPointF(x, baseline), QStringLiteral("r"));
    x += fmSym.horizontalAdvance(QStringLiteral("r")) + gap;

    const qreal ay = baseline - fmSym.xHeight() / 2.0;
    p.setPen(QPen(kMidBlue, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(x, ay), QPointF(x + arrowLen - 1.0, ay));
    QPainterPath head;
    head.moveTo(x + arrowLen - 5.0, ay - 3.5);
    head.lineTo(x + arrowLen, ay);
    head.lineTo(x + arrowLen - 5.0, ay + 3.5);
    p.drawPath(head);
    x += arrowLen + gap;

    p.drawText(QPointF(x, baseline), QStringLiteral("z"));
    p.end();
    return img;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: %s <output-directory>\n", argc > 0 ? argv[0] : "draw_pictures");
        return 2;
    }
    QDir dir(args.at(1));
    if (!dir.exists() && !QDir().mkpath(dir.path())) {
        std::fprintf(stderr, "draw_pictures: cannot create %s\n", qPrintable(dir.path()));
        return 1;
    }

    bool ok = save(drawChecks(), dir, QStringLiteral("Checks.png"));
    ok = save(drawBanner(), dir, QStringLiteral("corvane.png")) && ok;
    ok = save(drawSplashBand(), dir, QStringLiteral("corvane2.png")) && ok;
    return ok ? 0 : 1;
}
