#include "components/sequor/core/play_order_expansion.h"

#include "app/notation/notation_chars.h"
#include "components/sequor/core/parser_tables.h"
#include "platform/settings/ini_file.h"
#include "platform/settings/program_folder.h"
#include "platform/text/radix64.h"
#include "platform/text/runtime_numbers.h"

#include <QDir>
#include <QFileInfo>

namespace tunvale::sequor {

namespace {

using notation::IsBarLine;
using notation::IsSegMark;

const QChar JoinMark = QChar(char16_t(SegmentJoinMark));

// The path of `fileName` in the first of `folders` that holds it, or "".
QString FindIn(const QStringList& folders, const QString& fileName)
{
    if (folders.isEmpty())
        return platform::ProgramFolder::find(fileName);
    for (const QString& folder : folders) {
        const QString path = QDir(folder).filePath(fileName);
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

QStringList Pieces(const QString& text)
{
    QString joined = text;
    for (QChar& c : joined) {
        if (IsSegMark(c.unicode()))
            c = JoinMark;
    }
    QStringView body(joined);
    if (body.startsWith(JoinMark))
        body = body.mid(1);
    if (body.endsWith(JoinMark))
        body.chop(1);
    return body.toString().split(JoinMark);
}

bool OpensWithMark(const QString& text) { return !text.isEmpty() && IsSegMark(text.front().unicode()); }
bool ClosesWithMark(const QString& text) { return !text.isEmpty() && IsSegMark(text.back().unicode()); }

} // namespace

QString MakeOrderKey(const QString& text)
{
    QString key;
    for (const QChar c : text) {
        if (IsSegMark(c.unicode())) {
            long long code = notation::SegMarkCode(c.unicode());
            key += platform::IntToRadix64(code).value_or(QString());
        }
    }
    if (text.isEmpty() || !IsSegMark(text.front().unicode()))
        key.prepend(QChar(u'0'));
    if (text.isEmpty() || !IsSegMark(text.back().unicode()))
        key.append(QChar(u'0'));
    return key;
}

QString ReadOrderString(const QString& key, const QStringList& folders)
{
    for (const QString& name : { QStringLiteral("Note.ini"), QStringLiteral("MyNote.ini") }) {
        const QString path = FindIn(folders, name);
        if (path.isEmpty())
            continue;
        const QString order = platform::ReadIniValue(OrderSection, key, path);
        if (!order.isEmpty())
            return order;
    }
    return {};
}

int PieceCount(const QString& text) { return int(Pieces(text).size()); }

std::vector<int> OrderPieces(const QString& order, int pieceCount)
{
    const double count = pieceCount;
    std::vector<int> pieces;
    for (const QString& item : order.split(QChar(u','))) {
        const double piece = platform::RoundHalfEven(platform::Val(item)) - 1;
        if (piece >= 0 && piece < count)
            pieces.push_back(int(piece));
    }
    return pieces;
}

std::vector<int> BuildBarPlayList(const QString& text, const std::vector<int>& pieces)
{
    // One digit per bar line, 1 where it closes a segment; the first always opens one.
    std::vector<bool> opens;
    if (!text.isEmpty() && !IsBarLine(text.front().unicode()))
        opens.push_back(true);
    for (const QChar c : text) {
        if (IsBarLine(c.unicode()))
            opens.push_back(IsSegMark(c.unicode()));
    }
    struct Segment {
        int first = 0;
        int last = -1;
    };
    std::vector<Segment> segments;
    // The last bar line begins no bar.
    for (std::size_t j = 0; j + 1 < opens.size(); ++j) {
        const int bar = int(j);
        if (j == 0 || opens[j])
            segments.push_back({ bar, bar });
        else
            segments.back().last = bar;
    }
    // Where an end of the text is no segment mark, a piece played next to another meets a join mark the
    // written text does not have: a leading bar line of the first piece then closes an empty bar, and
    // the open end of the last piece becomes a bar (an empty one after a closing bar line). They are
    // listed too, so that entry i is always bar i of the play text.
    const QChar first = text.isEmpty() ? QChar() : text.front();
    const QChar last = text.isEmpty() ? QChar() : text.back();
    const bool leadingBar = IsBarLine(first.unicode()) && !IsSegMark(first.unicode());
    const bool openEnd = !text.isEmpty() && !IsSegMark(last.unicode());
    const int lastPiece = PieceCount(text) - 1;
    std::vector<int> bars;
    for (std::size_t p = 0; p < pieces.size(); ++p) {
        const int piece = pieces[p];
        if (piece == 0 && p > 0 && leadingBar)
            bars.push_back(NoScoreBar);
        if (std::size_t(piece) < segments.size()) {
            for (int bar = segments[std::size_t(piece)].first; bar <= segments[std::size_t(piece)].last;
                 ++bar)
                bars.push_back(bar);
        }
        if (piece == lastPiece && p + 1 < pieces.size() && openEnd)
            bars.push_back(IsBarLine(last.unicode()) ? NoScoreBar : int(opens.size()) - 1);
    }
    return bars;
}

qsizetype PlayTextLength(const QString& text, const std::vector<int>& pieces)
{
    const QStringList parts = Pieces(text);
    qsizetype length = 0;
    for (const int piece : pieces)
        length += 1 + parts.value(piece).size();
    if (length > 0 && !OpensWithMark(text))
        --length;
    if (ClosesWithMark(text))
        ++length;
    return length;
}

QString AssemblePlayText(const QString& text, const std::vector<int>& pieces)
{
    const QStringList parts = Pieces(text);
    QString out;
    for (const int piece : pieces)
        out += JoinMark + parts.value(piece);
    if (!out.isEmpty() && !OpensWithMark(text))
        out.remove(0, 1);
    if (ClosesWithMark(text))
        out += JoinMark;
    return out;
}

QString SelectionPlayText(const QString& selection)
{
    QString text = selection;
    for (QChar& c : text) {
        if (IsSegMark(c.unicode()))
            c = QChar(notation::PlainBarLine::Plain);
    }
    return text;
}

} // namespace tunvale::sequor
