#pragma once

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

#if defined(TUNVALE_HINTBALLOON_LIBRARY)
#define TUNVALE_HINTBALLOON_EXPORT Q_DECL_EXPORT
#else
#define TUNVALE_HINTBALLOON_EXPORT Q_DECL_IMPORT
#endif

// Hints for any widget, plain or as a balloon, with their own colours, a title with an icon, margins,
// a wrap width, text alignment and a roll-in when they show. All objects of the process share one
// hint popup; each object keeps the look of the tools it added and reports their text requests and
// show and hide moments.
namespace tunvale::hintballoon {

class TipWindow;

// Callers pass these as numbers: any int is a value of the type, and one that is none of its members (a
// show mode that is no combination of its flags) leaves the tool's value as it was, ttiNone, ttsmDefault
// and ttaLeft for a new tool.
enum TooltipIcon : int { ttiNone = 0, ttiInfo = 1, ttiWarning = 2, ttiError = 3 };
// Directions a plain hint rolls in from when it shows; flags may be combined.
enum BalloonShowMode : int {
    ttsmDefault = 0,
    ttsmLeftToRight = 1,
    ttsmRightToLeft = 2,
    ttsmTopToBottom = 4,
    ttsmBottomToTop = 8,
    ttsmCenter = 16
};
enum TooltipAlignment : int { ttaLeft = 0, ttaCentered = 1, ttaRight = 2 };

// What AddTool takes. Omitted text: the object asks for it through NeedText each time the hint shows.
// Omitted colours: the desktop's hint colours; a colour that is no number gives black.
struct BalloonTool {
    QPointer<QWidget> tool;
    std::optional<QString> text;
    // A colour value as callers give it: a number 0x00BBGGRR; with the top bit set, the index of a
    // system colour (0x80000018 the hint background, 0x80000017 the hint text). A text that holds a
    // number counts as that number.
    std::optional<QVariant> foreColor;
    std::optional<QVariant> backColor;
    bool balloon = false;
    QString title;
    TooltipIcon icon = ttiNone;
    BalloonShowMode showMode = ttsmDefault;
    int margin = 0; // pixels around the text, held to 0 .. kMaxHintMargin
    bool centered = false; // centred below the tool instead of at the pointer
    bool transparent = false; // the pointer reaches through the hint
    TooltipAlignment alignment = ttaLeft;
    // Wrap width in pixels, held to 0 .. kMaxHintWidth; 0: lines break only where the text does.
    int width = 0;
};

// The largest margin and wrap width a tool keeps, so that a hint stays within a screen's size of margins
// around its text and its sizes far from overflowing.
inline constexpr int kMaxHintMargin = 1000;
inline constexpr int kMaxHintWidth = 32767;

// What UpdateTool changes: each field without a value keeps the tool's own. Text "" switches the tool
// to text on request; a colour that is no number keeps the tool's colour.
struct BalloonToolUpdate {
    std::optional<QString> text;
    std::optional<QVariant> foreColor;
    std::optional<QVariant> backColor;
    std::optional<bool> balloon;
    std::optional<QString> title;
    std::optional<TooltipIcon> icon;
    std::optional<BalloonShowMode> showMode;
    std::optional<int> margin;
    std::optional<bool> centered;
    std::optional<TooltipAlignment> alignment;
    std::optional<int> width;
};

// Everything that decides how one hint looks.
struct HintLook {
    bool balloon = false;
    QColor foreColor;
    QColor backColor;
    TooltipIcon icon = ttiNone; // shown only beside a title
    QString title; // blank: no title line
    QString text;
    int margin = 0;
    int width = 0;
    TooltipAlignment alignment = ttaLeft;
    BalloonShowMode showMode = ttsmDefault;
    bool transparent = false;
};

// A tool as the object keeps it, colours already translated. The look's text is filled in each time
// the hint shows, from `text` or from NeedText.
struct ToolRecord {
    QPointer<QWidget> tool;
    std::optional<QString> text;
    HintLook look; // its title at most 80 characters, as given
    bool centered = false;
    bool shown = true; // false after RemoveTool: the record stays, the hint no longer shows
};

class TUNVALE_HINTBALLOON_EXPORT ClsHintballoon : public QObject
{
    Q_OBJECT

public:
    ClsHintballoon();
    ~ClsHintballoon() override;

    // Gives `tool` a hint; a tool added again takes the new look. False for no widget.
    bool AddTool(const BalloonTool& tool);
    // The shared popup's delays in milliseconds: before a hint shows, until it hides by itself, and
    // before the next tool's hint shows while one is up. None given: the automatic 500, 5000 and 100;
    // a negative value: that delay's automatic value; a longer one than an int holds: the longest. False,
    // and nothing changed, when a value given is no number (NaN and the infinities are none).
    bool SetDelayTimes(const std::optional<QVariant>& Show = {}, const std::optional<QVariant>& AutoHide = {},
        const std::optional<QVariant>& ReShow = {});
    // Changes the hint of a tool added before; false for a widget that is no tool of this object.
    bool UpdateTool(QWidget* tool, const BalloonToolUpdate& update);
    // The tool's hint no longer shows; its record stays.
    void RemoveTool(QWidget* tool);

    // The record of a tool; nullptr for a widget that is no tool of this object.
    const ToolRecord* tool(const QWidget* widget) const;
    int toolCount() const;

signals:
    // Asks for the text of a tool added without one; the handler stores it in `text`.
    void NeedText(QWidget* tool, QString& text);
    // A hint of one of this object's tools hid.
    void Pop();
    // A hint of one of this object's tools is showing.
    void Show();

private:
    ToolRecord* find(const QWidget* widget);

    TipWindow* tips_; // the popup of the process, alive while any object is
    std::vector<ToolRecord> tools_;
};

// Creates a hint object owned by the caller.
TUNVALE_HINTBALLOON_EXPORT std::unique_ptr<ClsHintballoon> CreateHintballoon();

} // namespace tunvale::hintballoon
