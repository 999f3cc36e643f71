#include "tests/tools/command_registry.h"

#include "platform/desktop/notation_fonts.h"
#include "platform/settings/program_folder.h"

#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QTextCursor>
#include <QTextDocument>

#include <vector>

using namespace tunvale;

namespace {

const QString kNote = QStringLiteral("KORVA_Note");
const QString kSymbol = QStringLiteral("KORVA_Note_Symbol");
const QString kGrace = QStringLiteral("KORVA_Note_yy");
const QString kGraceGroup = QStringLiteral("KORVA_Note_yy1");

constexpr double kNotationPoints = 32;
constexpr int kWidth = 2016;
// The jianpu lines are drawn larger than the grid so their details can be judged.
constexpr double kMelodyZoom = 1.5;

QString ch(int code) { return QString(QChar(char16_t(code))); }

// A note by its fields: block of the slur or triplet form, octave row, duration index, degree.
QString note(int degree, int row = 0, int dur = 0, int block = 0)
{
    return ch(0x4E00 + block * 294 + row * 42 + dur * 7 + degree - 1);
}

enum Block { Plain = 0, SlurStart = 1, InSlur = 2, SlurEnd = 3, Junction = 4, TripletFirst = 8 };
enum Row { Mid = 0, Down1 = 1, Down2 = 2, Up1 = 4, Up2 = 5 };

struct Run {
    QString family;
    QString text;
    double points = kNotationPoints;
};

class SpecimenText
{
public:
    SpecimenText()
        : cursor_(&doc_)
    {
        doc_.setDocumentMargin(24);
    }

    SpecimenText& add(const QString& family, const QString& text, double points = kNotationPoints)
    {
        QTextCharFormat format;
        format.setFontFamilies({ family });
        format.setFontPointSize(points);
        cursor_.insertText(text, format);
        return *this;
    }
    SpecimenText& n(const QString& text) { return add(kNote, text); }
    SpecimenText& newLine()
    {
        cursor_.insertBlock();
        return *this;
    }
    QTextDocument& document() { return doc_; }

private:
    QTextDocument doc_;
    QTextCursor cursor_;
};

const QString kSpacer = ch(0x6351);
const QString kBar = ch(0x6352);
const QString kDash = ch(0x6353);

// A short melody of our own that shows the signs a score uses most.
void writeMelody(SpecimenText& t)
{
    const QString song = platform::kSongFontName;
    t.add(song, QStringLiteral("山 间 小 调"), 20).newLine();
    t.n(ch(0x634F) + ch(0x6344) + kSpacer + ch(0x62BB)).add(kSymbol, ch(0x5F87)).newLine();

    t.add(kSymbol, QStringLiteral("/"));
    t.n(ch(0x6357) + note(5, Mid, 1, SlurStart) + note(6, Mid, 1, SlurEnd) + kSpacer + note(1, Up1, 1)
        + note(6, Mid, 1) + kBar);
    t.n(note(5, Mid, 1) + ch(0x62C3) + note(3, Mid, 2) + kSpacer + note(2) + kBar);
    t.n(note(1, Mid, 1, TripletFirst) + note(2, Mid, 1, 9) + note(3, Mid, 1, 10) + kSpacer);
    t.add(kGrace, note(6, Mid, 1, 2)).n(note(5) + kBar);
    t.n(note(6, Mid, 0, SlurStart) + ch(0x6356) + ch(0x6355) + note(6, Mid, 0, InSlur)
        + note(5, Mid, 0, SlurEnd));
    t.n(ch(0x6363) + note(3, Mid, 1, InSlur) + note(2, Mid, 1, InSlur) + ch(0x6354)
        + note(1, Mid, 0, InSlur));
    t.n(ch(0x636D) + note(2, Mid, 1, InSlur) + note(3, Mid, 1, InSlur) + ch(0x6354) + note(1, Mid, 0, InSlur)
        + ch(0x635D));
    t.newLine();
    t.add(song, QStringLiteral("   山 间  流 水 响， 风 吹  过 林 梢，  月 儿  弯 弯  照， 照 回  家"), 14)
        .newLine();

    t.add(kSymbol, QStringLiteral("-"));
    t.n(kBar + note(6, Down1, 1) + note(5, Down1, 2) + note(3, Down1, 2) + kSpacer + ch(0x622B)
        + note(4, Mid, 1) + ch(0x62CF) + kBar);
    t.add(kSymbol, QStringLiteral("IFF")).n(note(2, Up2, 0) + kSpacer).add(kSymbol, QStringLiteral("BF"));
    t.n(note(7, Down2, 3) + note(1, Mid, 3) + note(2, Mid, 3) + note(3, Mid, 3) + kSpacer + ch(0x6300)
        + kBar);
    t.add(kSymbol, QStringLiteral("G")).n(note(1, Up1, 0)).add(kSymbol, QStringLiteral("9")).n(note(7));
    t.add(kGraceGroup, note(1, Mid, 2, 0) + note(2, Mid, 2, 4)).n(note(3) + ch(0x62FE) + kBar);
    t.add(kSymbol, ch(0x5FEB)).n(note(5) + kDash + kDash + kDash + ch(0x6358));
    t.add(kSymbol, QStringLiteral("JFF"))
        .n(note(4, Mid, 1) + ch(0x629F) + ch(0x62DA) + ch(0x62E0) + ch(0x62E6));
    t.n(ch(0x62AC) + ch(0x635A)).newLine();

    t.n(ch(0x6374) + ch(0x635B) + note(3, Up1, 1, SlurStart) + note(2, Up1, 1, Junction)
        + note(1, Up1, 1, InSlur));
    t.add(kGrace, note(2, Up1, 1, 3)).n(note(6, Mid, 1, SlurEnd) + kBar);
    t.n(note(5, Mid, 1, 11) + note(6, Mid, 1, 12) + note(5, Mid, 1, 13) + ch(0x6354)
        + note(3, Mid, 0, SlurEnd));
    t.n(ch(0x635C)).add(kSymbol, ch(0x5F96)).n(note(5, Down1, 0) + kDash + ch(0x6384));
    t.add(kSymbol, ch(0x5F8E)).n(note(1, Mid, 1) + note(2, Mid, 1) + kSpacer + note(3, Mid, 0) + ch(0x637F));
    t.n(ch(0x6376) + ch(0x6359)).newLine();
}

// Every character a family maps, except that of the note codes only every form of each block is shown:
// each duration in the middle octave and each octave as a quarter, one degree each.
std::vector<int> familyCodes(const QRawFont& raw)
{
    std::vector<int> codes;
    for (int code = 0x20; code < 0x7F; ++code) {
        if (raw.supportsCharacter(QChar(char16_t(code))))
            codes.push_back(code);
    }
    for (int code = 0x4E00; code < 0x6400; ++code) {
        if (!raw.supportsCharacter(QChar(char16_t(code))))
            continue;
        const int n = code - 0x4E00;
        const int block = n / 294, row = (n % 294) / 42, dur = (n % 42) / 7;
        if (code <= 0x5E13 && ((row != 0 && dur != 0) || n % 7 != (block + row + dur) % 7))
            continue;
        codes.push_back(code);
    }
    return codes;
}

constexpr int kCellWidth = 112;
constexpr int kCellHeight = 124;
constexpr int kGlyphPixels = 56;
constexpr int kColumns = kWidth / kCellWidth;

int gridHeight(const std::vector<int>& codes)
{
    return 40 + int((codes.size() + kColumns - 1) / kColumns) * kCellHeight;
}

void drawGrid(
    QPainter& painter, int top, const QString& family, const QRawFont& raw, const std::vector<int>& codes)
{
    painter.setPen(Qt::black);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 14, QFont::Bold));
    painter.drawText(12, top + 28, family);
    QFont label(QStringLiteral("DejaVu Sans Mono"));
    label.setPixelSize(11);
    for (size_t i = 0; i < codes.size(); ++i) {
        const int x = int(i % kColumns) * kCellWidth;
        const int y = top + 40 + int(i / kColumns) * kCellHeight;
        painter.setPen(QColor(220, 220, 220));
        painter.drawRect(x, y, kCellWidth - 1, kCellHeight - 1);
        painter.setPen(QColor(235, 200, 200));
        const double baseline = y + 8 + raw.ascent();
        painter.drawLine(QPointF(x + 1, baseline), QPointF(x + kCellWidth - 2, baseline));
        // Drawn as a glyph run: text drawing skips the marks of zero advance (ornaments, accents, the
        // fermata) that sit over the following note.
        const QList<quint32> glyphs = raw.glyphIndexesForString(ch(codes[i]));
        const QRectF ink = raw.boundingRect(glyphs.value(0));
        QGlyphRun run;
        run.setRawFont(raw);
        run.setGlyphIndexes(glyphs);
        run.setPositions({ QPointF(0, 0) });
        painter.setPen(Qt::black);
        painter.drawGlyphRun(QPointF(x + (kCellWidth - ink.width()) / 2 - ink.left(), baseline), run);
        painter.setFont(label);
        painter.setPen(QColor(40, 40, 160));
        painter.drawText(QRectF(x, y + kCellHeight - 16, kCellWidth, 14), Qt::AlignCenter,
            QStringLiteral("%1").arg(codes[i], 4, 16, QLatin1Char('0')).toUpper());
    }
}

int specimen(const QStringList& args)
{
    if (args.size() != 1) {
        scoretool::err(QStringLiteral("usage: scoretool specimen OUT.png"));
        return 2;
    }
    const QStringList missing = platform::loadNotationFonts();
    if (!missing.isEmpty()) {
        scoretool::err(QStringLiteral("missing notation fonts: %1").arg(missing.join(QStringLiteral(", "))));
        return 1;
    }

    SpecimenText melody;
    melody.document().setTextWidth(kWidth / kMelodyZoom);
    writeMelody(melody);
    const int melodyHeight = int(melody.document().size().height() * kMelodyZoom);

    std::vector<QRawFont> raws;
    std::vector<std::vector<int>> grids;
    int height = melodyHeight;
    for (const QString& family : platform::notationFontFamilies()) {
        raws.emplace_back(
            platform::ProgramFolder::dataPath(QStringLiteral("fonts/%1.ttf").arg(family)), kGlyphPixels);
        grids.push_back(familyCodes(raws.back()));
        height += gridHeight(grids.back());
    }

    QImage image(kWidth, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.save();
    painter.scale(kMelodyZoom, kMelodyZoom);
    melody.document().drawContents(&painter);
    painter.restore();
    int top = melodyHeight;
    for (size_t i = 0; i < grids.size(); ++i) {
        drawGrid(painter, top, platform::notationFontFamilies()[int(i)], raws[i], grids[i]);
        top += gridHeight(grids[i]);
    }
    painter.end();
    if (!image.save(args[0], "PNG")) {
        scoretool::err(QStringLiteral("cannot write %1").arg(args[0]));
        return 1;
    }
    scoretool::out(QStringLiteral("%1: %2 x %3").arg(args[0]).arg(kWidth).arg(height));
    return 0;
}

} // namespace

SCORETOOL_COMMAND("specimen", "OUT.png   sheet of every notation family and a few lines of jianpu", specimen);
