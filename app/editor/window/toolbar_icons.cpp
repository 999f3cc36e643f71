#include "app/editor/window/toolbar_icons.h"

#include "platform/desktop/drawn_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>

namespace tunvale::editor {

namespace {

QIcon drawn(platform::IconDrawing draw) { return platform::DrawnIcon(std::move(draw)); }

// Characters of a font family, their outlines scaled to fill the box.
QIcon glyphs(const QString& text, const QString& family)
{
    return drawn([text, family](QPainter& p, const QRectF& box, const QColor& ink, bool) {
        QFont font(family);
        font.setPixelSize(100);
        QPainterPath outline;
        outline.addText(0, 0, font, text);
        const QRectF bounds = outline.boundingRect();
        if (bounds.isEmpty())
            return;
        const double scale
            = std::min(box.width() * 0.94 / bounds.width(), box.height() * 0.94 / bounds.height());
        p.translate(box.center());
        p.scale(scale, scale);
        p.translate(-bounds.center());
        p.fillPath(outline, ink);
    });
}

QIcon letter(const QString& text, bool bold, bool underline, double scale)
{
    return drawn([=](QPainter& p, const QRectF& box, const QColor& ink, bool) {
        QFont font;
        font.setBold(bold);
        font.setUnderline(underline);
        font.setPixelSize(std::max(4, int(box.height() * scale)));
        p.setFont(font);
        p.setPen(ink);
        p.drawText(box, Qt::AlignCenter, text);
    });
}

QString note(int octaveRow, int durIndex) { return { QChar(0x4E00 + octaveRow * 42 + durIndex * 7) }; }

// A small drum, with a play triangle or a stop square beside it.
QIcon drum(bool stop)
{
    return drawn([stop](QPainter& p, const QRectF& box, const QColor& ink, bool enabled) {
        const double s = box.width() / 16.0;
        p.translate(box.topLeft());
        p.setPen(QPen(ink, std::max(1.0, s)));
        p.setBrush(Qt::NoBrush);
        const QRectF top(1 * s, 4 * s, 9 * s, 3 * s);
        p.drawEllipse(top);
        p.drawLine(QPointF(1 * s, 5.5 * s), QPointF(1 * s, 11 * s));
        p.drawLine(QPointF(10 * s, 5.5 * s), QPointF(10 * s, 11 * s));
        p.drawArc(QRectF(1 * s, 9.5 * s, 9 * s, 3 * s), 180 * 16, 180 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(!enabled ? ink : stop ? QColor(200, 40, 40) : QColor(30, 140, 40));
        if (stop) {
            p.drawRect(QRectF(11 * s, 9 * s, 4.5 * s, 4.5 * s));
        } else {
            QPainterPath triangle;
            triangle.moveTo(11 * s, 8.5 * s);
            triangle.lineTo(15.5 * s, 11 * s);
            triangle.lineTo(11 * s, 13.5 * s);
            triangle.closeSubpath();
            p.drawPath(triangle);
        }
    });
}

// Two jianpu notes under an arc.
QIcon slur()
{
    return drawn([](QPainter& p, const QRectF& box, const QColor& ink, bool) {
        QFont font(QStringLiteral("KORVA_Note"));
        font.setPixelSize(std::max(4, int(box.height() * 0.8)));
        p.setFont(font);
        p.setPen(ink);
        p.drawText(box.adjusted(0, box.height() * 0.2, 0, 0), Qt::AlignCenter, note(0, 0) + QChar(0x4E01));
        p.setPen(QPen(ink, std::max(1.0, box.width() / 16)));
        p.drawArc(QRectF(box.left() + box.width() * 0.15, box.top() + box.height() * 0.1, box.width() * 0.7,
                      box.height() * 0.5),
            20 * 16, 140 * 16);
    });
}

// Three notes under a bracket marked 3.
QIcon triplet()
{
    return drawn([](QPainter& p, const QRectF& box, const QColor& ink, bool) {
        QFont font(QStringLiteral("KORVA_Note"));
        font.setPixelSize(std::max(4, int(box.height() * 0.6)));
        p.setFont(font);
        p.setPen(ink);
        p.drawText(box.adjusted(0, box.height() * 0.3, 0, 0), Qt::AlignCenter,
            note(0, 1) + QChar(0x4E01 + 7) + QChar(0x4E02 + 7));
        QFont digit;
        digit.setPixelSize(std::max(4, int(box.height() * 0.4)));
        digit.setItalic(true);
        p.setFont(digit);
        p.drawText(QRectF(box.left(), box.top(), box.width(), box.height() * 0.45), Qt::AlignCenter,
            QStringLiteral("3"));
    });
}

QIcon themed(const char* name, const QStyle* style, QStyle::StandardPixmap fallback)
{
    return QIcon::fromTheme(QString::fromLatin1(name), style->standardIcon(fallback));
}

} // namespace

QIcon ToolbarIcon(int index, const QStyle* style)
{
    const QString note0 = QStringLiteral("KORVA_Note");
    switch (index) {
    case 2:
        return themed("document-open", style, QStyle::SP_DialogOpenButton);
    case 3:
        return themed("document-save", style, QStyle::SP_DialogSaveButton);
    case 5:
        return themed("media-playback-start", style, QStyle::SP_MediaPlay);
    case 6:
        return themed("media-playback-pause", style, QStyle::SP_MediaPause);
    case 7:
        return themed("media-seek-forward", style, QStyle::SP_MediaSeekForward);
    case 8:
        return themed("media-playback-stop", style, QStyle::SP_MediaStop);
    case 10:
        return drum(false);
    case 11:
        return drum(true);
    case 15:
        return themed("edit-undo", style, QStyle::SP_ArrowBack);
    case 16:
        return themed("edit-redo", style, QStyle::SP_ArrowForward);
    case 18:
        return letter(QStringLiteral("B"), true, false, 0.8);
    case 19:
        return letter(QStringLiteral("A±"), false, false, 0.6);
    case 20:
        return letter(QStringLiteral("词"), false, true, 0.7);
    // Octaves: the note 1 from two octaves down to two up.
    case 22:
        return glyphs(note(2, 0), note0);
    case 23:
        return glyphs(note(1, 0), note0);
    case 24:
        return glyphs(note(0, 0), note0);
    case 25:
        return glyphs(note(4, 0), note0);
    case 26:
        return glyphs(note(5, 0), note0);
    case 28:
        return slur();
    // Durations: a quarter and each halving.
    case 30:
    case 31:
    case 32:
    case 33:
        return glyphs(note(0, index - 30), note0);
    // Rhythm figures: eighth and two sixteenths; two sixteenths and eighth; sixteenth, eighth,
    // sixteenth; eighth, quarter, eighth; sixteenth and dotted eighth; dotted eighth and sixteenth.
    case 35:
        return glyphs(note(0, 1) + note(0, 2) + note(0, 2), note0);
    case 36:
        return glyphs(note(0, 2) + note(0, 2) + note(0, 1), note0);
    case 37:
        return glyphs(note(0, 2) + note(0, 1) + note(0, 2), note0);
    case 38:
        return glyphs(note(0, 1) + note(0, 0) + note(0, 1), note0);
    case 39:
        return glyphs(note(0, 2) + note(0, 1) + QChar(0x62C3), note0);
    case 40:
        return glyphs(note(0, 1) + QChar(0x62C3) + note(0, 2), note0);
    case 41:
        return triplet();
    case 42:
        return glyphs(QString(QChar(0x4E04)) + note(0, 0), QStringLiteral("KORVA_Note_yy"));
    case 43:
        return letter(QStringLiteral("tr"), true, false, 0.6);
    case 44:
        return glyphs(QString(QChar(0x6363)), note0);
    case 45:
        return glyphs(QString(QChar(0x6357)), note0);
    case 46:
        return glyphs(QString(QChar(0x6358)), note0);
    default:
        return {};
    }
}

QCursor FormatBrushCursor(bool pitch)
{
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath bristles;
    bristles.moveTo(1, 31);
    bristles.cubicTo(2, 25, 5, 21, 9, 18);
    bristles.lineTo(14, 23);
    bristles.cubicTo(11, 27, 7, 30, 1, 31);
    QPainterPath handle;
    handle.addPolygon(QPolygonF({ QPointF(10, 17), QPointF(15, 22), QPointF(30, 7), QPointF(25, 2) }));
    handle.closeSubpath();
    QFont font;
    font.setPixelSize(12);
    font.setBold(true);
    QPainterPath digit;
    digit.addText(2, pitch ? 15 : 11, font, QStringLiteral("1"));
    QPainterPath mark;
    if (pitch)
        mark.addEllipse(QPointF(5.5, 2.5), 1.8, 1.8);
    else
        mark.addRect(QRectF(1, 13, 9, 1.6));
    // A white edge keeps the pointer visible on the dark and the light parts of a score.
    p.setPen(QPen(Qt::white, 3));
    for (const QPainterPath* path : { &bristles, &handle, &digit, &mark })
        p.drawPath(*path);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(30, 30, 30));
    p.drawPath(bristles);
    p.setBrush(QColor(170, 110, 50));
    p.drawPath(handle);
    p.setPen(Qt::NoPen);
    p.setBrush(pitch ? QColor(200, 30, 30) : QColor(30, 90, 200));
    p.drawPath(digit);
    p.drawPath(mark);
    p.end();
    return QCursor(picture, 1, 31);
}

} // namespace tunvale::editor
