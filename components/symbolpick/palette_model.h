#pragma once

#include <QPointF>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// What the symbol palette shows, read from the palette sections of "Note.ini", and the geometry of its
// grid, without a window. Lengths are twips.
namespace tunvale::symbolpick {

struct PaletteEntry {
    int number = 0; // n of its "Symbol<n>" key
    char16_t code = 0;
    QString description;
};

struct PaletteKind {
    QString name; // tab caption and section name
    QString font; // "Symbol_Name": the family the characters are drawn and inserted in
    QString about; // status text while the kind is on show
    int fullSizeCount = 0; // "Symbol_Double": leading entries drawn at full size
    std::vector<PaletteEntry> entries; // the well-formed entries in key order
};

class PaletteModel
{
public:
    // Reads a value of the palette file; ReadIniValue on a file in the program.
    using IniReader = std::function<QString(const QString& section, const QString& key)>;

    static constexpr int Columns = 8;
    static constexpr int CellWidth = 500;
    static constexpr int CellHeight = 1175;
    static constexpr int GridLeft = 30; // outline of cell (0, 0)
    static constexpr int GridTop = 30;
    static constexpr int CharLeft = 60; // top-left of the character in cell (0, 0)
    static constexpr int CharTop = 90;
    static constexpr double GridFullSize = 45;
    static constexpr double GridHalfSize = 22.5;
    static constexpr double PreviewFullSize = 60;
    static constexpr double PreviewHalfSize = 30;
    static constexpr int VisibleRows = 4; // rows the viewport holds without a scroll bar
    // Limits that keep a damaged file from asking for a window no one could use.
    static constexpr int MaxKinds = 64;
    static constexpr int MaxEntries = 1024;

    static const QString& FirstKindName(); // "常规符号"
    static const QString& NoSymbolsMessage(); // the status text of a palette without kinds

    PaletteModel() = default;
    explicit PaletteModel(const IniReader& read);
    // The palette of the "Note.ini" at `path`.
    static PaletteModel fromFile(const QString& path);

    // Kinds are numbered from 1, as their tabs.
    int kindCount() const { return static_cast<int>(kinds_.size()); }
    const PaletteKind& kind(int k) const { return kinds_.at(k - 1); }

    static int rowCount(int entryCount) { return (entryCount + Columns - 1) / Columns; }
    static int canvasHeight(int rows) { return rows * CellHeight + 90; }
    static bool showsScrollBar(int rows) { return rows > VisibleRows; }

    // The 0-based cell under a point of the canvas of a grid with `rows` rows (it may lie past the last
    // entry), or nothing outside the grid.
    static std::optional<int> cellAt(QPointF point, int rows);
    // The outline of a cell and where its character is drawn.
    static QPointF cellTopLeft(int cell);
    static QPointF charTopLeft(int cell);

    // Sizes in points of a cell's character in the grid and in the preview.
    static double gridSize(const PaletteKind& kind, int cell);
    static double previewSize(const PaletteKind& kind, int cell);

private:
    std::vector<PaletteKind> kinds_;
};

} // namespace tunvale::symbolpick
