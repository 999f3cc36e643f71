#pragma once

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

#if defined(TUNVALE_HINTBALLOON_LIBRARY)
#define TUNVALE_HINTBALLOON_EXPORT Q_DECL_EXPORT
#else
#define TUNVALE_HINTBALLOON_EXPORT Q_DECL_IMPORT
#endif

// Balloon hints for any widget: the object keeps a list of tools (widgets) with the look of their hint.
namespace tunvale::hintballoon {

enum TooltipIcon { ttiNone = 0, ttiInfo = 1, ttiWarning = 2, ttiError = 3 };
enum TooltipShowMode { ttsmLeftToRight = 0, ttsmRightToLeft = 1 };
enum TooltipAlignment { ttaLeft = 0, ttaCenter = 1, ttaRight = 2 };

// How one tool's hint looks. No text: the object asks for it through NeedText when the hint shows.
struct BalloonTool {
    QPointer<QWidget> tool;
    std::optional<QString> text;
    QColor foreColor = Qt::black;
    QString backColor; // as given: a colour or a text the component reads as one
    bool balloon = true;
    QString title;
    TooltipIcon icon = ttiNone;
    TooltipShowMode showMode = ttsmLeftToRight;
    int margin = 0;
    bool centered = false;
    bool transparent = false;
    TooltipAlignment alignment = ttaLeft;
    int width = 0;
};

// What UpdateTool changes: each field that holds no value keeps the tool's current one.
struct BalloonToolUpdate {
    std::optional<QString> text;
    std::optional<QColor> foreColor;
    std::optional<QString> backColor;
    std::optional<bool> balloon;
    std::optional<QString> title;
    std::optional<TooltipIcon> icon;
    std::optional<TooltipShowMode> showMode;
    std::optional<int> margin;
    std::optional<bool> centered;
    std::optional<TooltipAlignment> alignment;
    std::optional<int> width;
};

class TUNVALE_HINTBALLOON_EXPORT ClsHintballoon : public QObject
{
    Q_OBJECT

public:
    // Gives `tool` a hint; a tool added again takes the new look. False for no widget.
    bool AddTool(const BalloonTool& tool);
    // Changes the hint of a tool added before; false for a widget that is no tool.
    bool UpdateTool(QWidget* tool, const BalloonToolUpdate& update);
    // The tool's hint; nullptr for a widget that is no tool.
    const BalloonTool* tool(QWidget* widget) const;
    int toolCount() const;

signals:
    // Asks for the text of a tool added without one.
    void NeedText(QWidget* tool, QString& text);

private:
    BalloonTool* find(QWidget* widget);

    std::vector<BalloonTool> tools_;
};

// Creates a balloon object owned by the caller.
TUNVALE_HINTBALLOON_EXPORT std::unique_ptr<ClsHintballoon> CreateHintballoon();

} // namespace tunvale::hintballoon
