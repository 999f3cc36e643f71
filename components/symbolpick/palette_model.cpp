#include "components/symbolpick/palette_model.h"

#include "platform/settings/ini_file.h"
#include "platform/text/runtime_numbers.h"

#include <algorithm>
#include <cmath>

namespace tunvale::symbolpick {

namespace {

const QString kGeneral = QStringLiteral("常规");

// A whole number of the file: Val, rounded, within [low, high].
int iniNumber(const QString& text, int low, int high)
{
    const double value = platform::RoundHalfEven(platform::Val(text));
    if (!std::isfinite(value))
        return low;
    return static_cast<int>(std::clamp(value, double(low), double(high)));
}

// A UTF-16 code unit written as hexadecimal digits without prefix; nothing for any other text.
std::optional<char16_t> hexCode(const QString& text)
{
    const QString digits = text.trimmed();
    if (digits.isEmpty() || digits.size() > 8)
        return std::nullopt;
    bool ok = false;
    const uint value = digits.toUInt(&ok, 16);
    if (!ok || value == 0 || value > 0xFFFF || QChar::isSurrogate(value))
        return std::nullopt;
    return char16_t(value);
}

PaletteKind readKind(const PaletteModel::IniReader& read, const QString& section)
{
    PaletteKind kind;
    kind.name = section;
    kind.font = read(section, QStringLiteral("Symbol_Name"));
    kind.about = read(section, QStringLiteral("About"));
    kind.fullSizeCount
        = iniNumber(read(section, QStringLiteral("Symbol_Double")), 0, PaletteModel::MaxEntries);
    const int last
        = iniNumber(read(section, QStringLiteral("Symbol_Total")), -1, PaletteModel::MaxEntries - 1);
    // An entry without "/" takes the description of the last entry with one; each kind starts without.
    QString carried;
    for (int n = 0; n <= last; ++n) {
        const QString value = read(section, QStringLiteral("Symbol%1").arg(n));
        const qsizetype slash = value.indexOf(u'/');
        if (slash >= 0)
            carried = value.mid(slash + 1);
        if (const auto code = hexCode(slash >= 0 ? value.left(slash) : value))
            kind.entries.push_back({ n, *code, carried });
    }
    return kind;
}

} // namespace

const QString& PaletteModel::FirstKindName()
{
    static const QString name = QStringLiteral("常规符号");
    return name;
}

const QString& PaletteModel::NoSymbolsMessage()
{
    static const QString message = QStringLiteral("Note.ini 没有可用的符号。");
    return message;
}

PaletteModel::PaletteModel(const IniReader& read)
{
    const int count = iniNumber(read(kGeneral, QStringLiteral("字符种类")), 0, MaxKinds);
    for (int k = 1; k <= count; ++k) {
        const QString name = k == 1 ? FirstKindName() : read(kGeneral, QStringLiteral("字符名称%1").arg(k));
        kinds_.push_back(readKind(read, name));
    }
}

PaletteModel PaletteModel::fromFile(const QString& path)
{
    const platform::IniFile ini(path);
    return PaletteModel(
        [&ini](const QString& section, const QString& key) { return ini.value(section, key); });
}

std::optional<int> PaletteModel::cellAt(QPointF point, int rows)
{
    // A press counts from 15 twips inside the outline of the first cell.
    constexpr int edge = GridLeft + 14;
    const double x = point.x(), y = point.y();
    if (x <= edge || x >= edge + Columns * CellWidth || y <= edge || y >= edge + rows * CellHeight)
        return std::nullopt;
    const int column = std::clamp(static_cast<int>(std::floor((x - edge - 1) / CellWidth)), 0, Columns - 1);
    const int row = std::clamp(static_cast<int>(std::floor((y - edge - 1) / CellHeight)), 0, rows - 1);
    return row * Columns + column;
}

QPointF PaletteModel::cellTopLeft(int cell)
{
    const int row = cell / Columns;
    const int column = cell % Columns;
    return { double(GridLeft + column * CellWidth), double(GridTop + row * CellHeight) };
}

QPointF PaletteModel::charTopLeft(int cell)
{
    return cellTopLeft(cell) + QPointF(CharLeft - GridLeft, CharTop - GridTop);
}

double PaletteModel::gridSize(const PaletteKind& kind, int cell)
{
    return cell < kind.fullSizeCount ? GridFullSize : GridHalfSize;
}

double PaletteModel::previewSize(const PaletteKind& kind, int cell)
{
    return cell < kind.fullSizeCount ? PreviewFullSize : PreviewHalfSize;
}

} // namespace tunvale::symbolpick
