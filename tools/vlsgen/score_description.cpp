#include "tools/vlsgen/score_description.h"

#include "platform/text/name_bytes.h"
#include "tools/vlsgen/jianpu_text.h"

#include <QRegularExpression>
#include <QStringList>

namespace tunvale::vlsgen {

using notation::DrumRecord;

namespace {

constexpr int kMaxTimeSigCode = 40;
constexpr int kLastPlainTimeSig = 7;
constexpr int kFirstDrumKey = 13;
constexpr int kLastDrumKey = 87;

// The TimeSigCode whose text is `time`; -1 for none.
int timeSigCode(const QString& time)
{
    for (int code = 0; code <= kMaxTimeSigCode; ++code) {
        QString text;
        notation::TimeSigSteps(code, text);
        if (text == time)
            return code;
    }
    return -1;
}

std::optional<std::uint8_t> byteValue(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= 0 && value <= 255 ? std::optional<std::uint8_t>(std::uint8_t(value)) : std::nullopt;
}

std::optional<std::int16_t> int16Value(const QString& text)
{
    bool ok = false;
    const short value = text.toShort(&ok);
    return ok ? std::optional<std::int16_t>(value) : std::nullopt;
}

class Reader
{
public:
    DescriptionResult read(const QString& text)
    {
        const QStringList lines = text.split(u'\n');
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QString error = readLine(lines[i].section(u'#', 0, 0).trimmed());
            if (!error.isEmpty()) {
                result_.error = QStringLiteral("line %1: %2").arg(i + 1).arg(error);
                return result_;
            }
        }
        if (result_.description.output.isEmpty())
            result_.error = QStringLiteral("no output");
        return result_;
    }

private:
    QString readLine(const QString& line)
    {
        if (line.isEmpty())
            return {};
        const qsizetype colon = line.indexOf(u':');
        if (colon < 0)
            return QStringLiteral("no keyword");
        const QString keyword = line.left(colon).trimmed();
        const QString value = line.mid(colon + 1).trimmed();
        ScoreDescription& d = result_.description;
        if (keyword == u"output") {
            d.output = value;
        } else if (keyword == u"title") {
            d.title = value;
        } else if (keyword == u"key") {
            d.keyLetter = value.size() == 1 ? int(QStringLiteral("CDEFGAB").indexOf(value)) : -1;
            if (d.keyLetter < 0)
                return QStringLiteral("a key is one of C D E F G A B");
        } else if (keyword == u"time") {
            d.timeSig = timeSigCode(value);
            if (d.timeSig < 0 || d.timeSig > kLastPlainTimeSig)
                return QStringLiteral("unknown time signature");
        } else if (keyword == u"tempo" || keyword == u"instrument" || keyword == u"volume") {
            const auto number = int16Value(value);
            if (!number)
                return QStringLiteral("not a number");
            (keyword == u"tempo"               ? d.header.Speed
                    : keyword == u"instrument" ? d.header.Instrument
                                               : d.header.Volume)
                = *number;
        } else if (keyword == u"notes") {
            const JianpuResult notes = JianpuToGlyphs(value);
            if (!notes.error.isEmpty())
                return notes.error;
            d.lines.push_back({ ScoreLine::Kind::Notes, notes.text });
            notes_ = notes.text;
        } else if (keyword == u"lyrics") {
            if (notes_.isEmpty())
                return QStringLiteral("lyrics belong to a notes line");
            const JianpuResult lyrics = LyricsUnderNotes(notes_, value);
            if (!lyrics.error.isEmpty())
                return lyrics.error;
            d.lines.push_back({ ScoreLine::Kind::Lyrics, lyrics.text });
        } else if (keyword == u"drum") {
            return readDrum(value);
        } else if (keyword == u"track") {
            return readTrack(value);
        } else if (keyword == u"order") {
            d.order = value;
        } else if (keyword == u"body") {
            d.body = value;
        } else {
            return QStringLiteral("unknown keyword \"%1\"").arg(keyword);
        }
        return {};
    }

    QString readDrum(const QString& value)
    {
        static const QRegularExpression form(QStringLiteral("^(\\d+)-(\\d+)\\s+(\\S+)\\s+(\\S+)\\s+(\\d+)$"));
        const auto match = form.match(value);
        const int code = match.hasMatch() ? timeSigCode(match.captured(4)) : -1;
        const auto tempo = match.hasMatch() ? byteValue(match.captured(5)) : std::nullopt;
        first_ = match.captured(1).toInt();
        last_ = match.captured(2).toInt();
        if (code < 0 || !tempo || first_ < 1 || last_ < first_)
            return QStringLiteral("a drum line is: FIRST-LAST NAME TIME TEMPO");
        pattern_ = DrumRecord {};
        platform::TextToNameBytes(match.captured(3), pattern_.DrumName);
        pattern_.DrumTimeSignature = std::uint8_t(code);
        pattern_.DrumSpeed = *tempo;
        pattern_.HaveDrum = 1;
        tracks_ = 0;
        placePattern();
        return {};
    }

    QString readTrack(const QString& value)
    {
        const QStringList parts = value.split(u' ', Qt::SkipEmptyParts);
        if (last_ == 0)
            return QStringLiteral("a track belongs to a drum line");
        if (tracks_ == DrumRecord::Tracks)
            return QStringLiteral("at most eight tracks");
        QString timeText;
        const int steps = notation::TimeSigSteps(pattern_.DrumTimeSignature, timeText);
        const auto key = parts.size() == 4 ? byteValue(parts[0]) : std::nullopt;
        const auto volume = parts.size() == 4 ? byteValue(parts[1]) : std::nullopt;
        const auto pan = parts.size() == 4 ? byteValue(parts[2]) : std::nullopt;
        static const QRegularExpression hits(QStringLiteral("^[x.]+$"));
        if (!key || *key < kFirstDrumKey || *key > kLastDrumKey || !volume || !pan || *pan > 127
            || parts[3].size() != steps || !hits.match(parts[3]).hasMatch())
            return QStringLiteral("a track is: KEY VOLUME PAN and %1 steps of x and .").arg(steps);
        const int t = tracks_++;
        pattern_.DrumChannel |= std::uint8_t(0x80 >> t);
        pattern_.DrumVolume[t] = *volume;
        pattern_.DrumSounds[t] = std::uint8_t(*key - kFirstDrumKey);
        pattern_.DrumSoundImage[t] = *pan;
        for (int s = 0; s < steps; ++s) {
            if (parts[3][s] == u'x')
                pattern_.DrumRhythms[4 * t + s / 8] |= std::uint8_t(0x80 >> (s % 8));
        }
        placePattern();
        return {};
    }

    // The bars of the current drum line take the pattern as it stands.
    void placePattern()
    {
        notation::DrumStore& drums = result_.description.drums;
        if (drums.size() < size_t(last_))
            drums.resize(size_t(last_));
        for (int bar = first_; bar <= last_; ++bar)
            drums[size_t(bar - 1)] = pattern_;
    }

    DescriptionResult result_;
    QString notes_; // the last notation line, which lyrics go under
    DrumRecord pattern_;
    int first_ = 0;
    int last_ = 0;
    int tracks_ = 0;
};

} // namespace

DescriptionResult ReadScoreDescription(const QString& text) { return Reader().read(text); }

} // namespace tunvale::vlsgen
