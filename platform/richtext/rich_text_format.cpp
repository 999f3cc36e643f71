#include "platform/richtext/rich_text_format.h"

#include <QGuiApplication>
#include <QHashFunctions>
#include <QScreen>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <cmath>

namespace tunvale::platform {

namespace {

// The document property that holds the last paragraph's mark. A property of the document object, not
// of its text: setting it changes no text, so no view lays the document out again for it.
constexpr char kLastMark[] = "tunvaleLastMark";

QString familyOf(const QTextCharFormat& format)
{
    const QVariant families = format.property(QTextFormat::FontFamilies);
    if (families.isValid()) {
        const QStringList list = families.toStringList();
        if (!list.isEmpty())
            return list.first();
    }
    return {};
}

std::optional<QRgb> colorOf(const QTextCharFormat& format, int property)
{
    if (!format.hasProperty(property))
        return std::nullopt;
    const QBrush brush = format.brushProperty(property);
    if (brush.style() == Qt::NoBrush)
        return std::nullopt;
    return brush.color().rgb() | 0xff000000u;
}

} // namespace

RunFormat Clamped(RunFormat format)
{
    format.halfPoints = std::clamp(format.halfPoints, kMinHalfPoints, kMaxHalfPoints);
    format.offset = std::clamp(format.offset, -kMaxHalfPoints, kMaxHalfPoints);
    return format;
}

ParagraphFormat Clamped(ParagraphFormat format)
{
    format.leftIndent = std::clamp(format.leftIndent, -kMaxTwips, kMaxTwips);
    format.rightIndent = std::clamp(format.rightIndent, -kMaxTwips, kMaxTwips);
    format.lineSpacing = std::clamp(format.lineSpacing, 0, kMaxTwips);
    return format;
}

QFont DefaultTextFont()
{
    QFont font(QStringLiteral("宋体"));
    font.setPointSizeF(12);
    return font;
}

RunFormat ToRunFormat(const QTextCharFormat& format, const QFont& defaultFont)
{
    RunFormat run;
    run.font = familyOf(format);
    if (run.font.isEmpty())
        run.font = defaultFont.family();
    const qreal points
        = format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize() : defaultFont.pointSizeF();
    run.halfPoints = points > 0 ? int(std::lround(points * 2)) : 24;
    run.bold = format.hasProperty(QTextFormat::FontWeight) ? format.fontWeight() >= QFont::Bold
                                                           : defaultFont.bold();
    run.underline = format.fontUnderline();
    run.color = colorOf(format, QTextFormat::ForegroundBrush);
    run.highlight = colorOf(format, QTextFormat::BackgroundBrush);
    run.offset = format.intProperty(CharOffsetProperty);
    return run;
}

QTextCharFormat ToCharFormat(const RunFormat& run)
{
    QTextCharFormat format;
    format.setFontFamilies({ run.font });
    format.setProperty(FontNameProperty, run.font);
    format.setFontPointSize(run.halfPoints / 2.0);
    format.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
    format.setFontUnderline(run.underline);
    if (run.color)
        format.setForeground(QColor::fromRgb(*run.color));
    else
        format.clearForeground();
    if (run.highlight)
        format.setBackground(QColor::fromRgb(*run.highlight));
    else
        format.clearBackground();
    format.setProperty(CharOffsetProperty, run.offset);
    // Qt raises text by a share of the font's height; the stored value stays in half points.
    format.setBaselineOffset(run.halfPoints > 0 ? 100.0 * run.offset / run.halfPoints : 0);
    return format;
}

size_t qHash(const RunFormat& format, size_t seed)
{
    return qHashMulti(seed, format.font, format.halfPoints, format.bold, format.underline,
        format.color.value_or(0), format.color.has_value(), format.highlight.value_or(0),
        format.highlight.has_value(), format.offset);
}

const QTextCharFormat& CharFormatCache::operator()(const RunFormat& format)
{
    if (last_ && *lastFormat_ == format)
        return *last_;
    auto it = formats_.find(format);
    if (it == formats_.end())
        it = formats_.emplace(format, ToCharFormat(format)).first;
    lastFormat_ = &it->first;
    last_ = &it->second;
    return *last_;
}

ParagraphFormat ToParagraphFormat(const QTextBlockFormat& format)
{
    return { format.intProperty(LeftIndentProperty), format.intProperty(RightIndentProperty),
        format.intProperty(LineSpacingProperty) };
}

QTextBlockFormat ToBlockFormat(const ParagraphFormat& paragraph)
{
    QTextBlockFormat format;
    format.setProperty(LeftIndentProperty, paragraph.leftIndent);
    format.setProperty(RightIndentProperty, paragraph.rightIndent);
    format.setProperty(LineSpacingProperty, paragraph.lineSpacing);
    format.setLeftMargin(TwipsToPixels(paragraph.leftIndent));
    format.setRightMargin(TwipsToPixels(paragraph.rightIndent));
    if (paragraph.lineSpacing > 0)
        format.setLineHeight(TwipsToPixels(paragraph.lineSpacing), QTextBlockFormat::FixedHeight);
    return format;
}

qreal TwipsToPixels(int twips)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    return twips * dpi / 1440.0;
}

QTextCharFormat MarkFormat(const QTextBlock& block)
{
    const QTextBlock next = block.next();
    if (next.isValid())
        return next.charFormat();
    return block.document()->property(kLastMark).value<QTextFormat>().toCharFormat();
}

void SetLastMarkFormat(QTextDocument& document, const QTextCharFormat& format)
{
    document.setProperty(kLastMark, QVariant::fromValue<QTextFormat>(format));
}

} // namespace tunvale::platform
