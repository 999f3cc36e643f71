#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <Qt>

#include <array>
#include <vector>

// The margin ruler without a window: its state in twips, where the drawing puts each element, and the
// gestures that move the pins, each returning the events it raised. The widget paints it and feeds it
// the user's mouse and keys; the test tool drives it from the command line.
//
// Coordinates: the strip's x runs from the control's left edge; the scale (page bar, bands, pins, ticks)
// has coordinates of its own whose origin lies at (scaleLeft(), scaleTop()) in the strip. The page bar
// starts one pin width into the scale, so the page's zero stands at x = bcLeft in the strip.
namespace tunvale::margin {

// The line kinds of the spacing chooser, by their index in it.
enum class SetMod { JpLine = 0, GCLine = 1, DQLine = 2 };

struct RulerEvent {
    enum class Kind { LRValueChang, aChangBegin, aChangOver, BjMainMun, SetLineSpcing, ShowMyHelp };
    Kind kind;
    int first = 0; // LRValueChang: nLSpace; SetLineSpcing: the line kind (-1 when none is chosen)
    int second = 0; // LRValueChang: nRSpace; SetLineSpcing: the spacing in twips

    bool operator==(const RulerEvent&) const = default;
};
using RulerEvents = std::vector<RulerEvent>;

// What a pointer event lands on: the pins lie over the bands, the bands over the page bar.
enum class RulerPart { None, Pin0, Pin1, Bar, Green, Red };

enum class MenuEntry { MainToolbar, Help };

// A number rounded to two decimals, halves to even, in its shortest form ("1.45", "1", "872.5").
QString TwoDecimals(double value);

class MarginModel
{
public:
    static constexpr double kMarkerWidth = 75; // w; the pins scale with the screen
    static constexpr double kMarkerTop = 45;
    static constexpr double kMarkerHeight = 240;
    static constexpr double kBarTop = 75;
    static constexpr double kBarHeight = 72;
    static constexpr double kClickReach = 276; // a farther click moves a pin this far towards it
    static constexpr double kKeyStep = 55.2;
    static constexpr int kMinSpacing = 20;
    static constexpr int kMaxSpacing = 150;
    // The scale factors the drawn page takes: a hundredth of true size to a hundred times it.
    static constexpr double kMinFactor = 0.01;
    static constexpr double kMaxFactor = 100;
    static constexpr int kMaxDpi = 1440; // a pixel is at least a twip

    // `dpi` is the screen's logical resolution, held to 1 .. kMaxDpi; a pixel is round(1440 / dpi) twips.
    explicit MarginModel(int dpi);

    int twipsPerPixel() const { return twipsPerPixel_; }
    int pageTwips() const { return pageTwips_; }
    double cmPerTwip() const { return cmPerTwip_; }

    // Persisted properties. The margins ignore a negative value (false); bcWidth_n ignores one outside
    // kMinFactor .. kMaxFactor (NaN too). Setting bcLeft, bcTop, bcHeight or bcWidth runs the layout step:
    // the chooser returns to "当前行" and bcWidth_n to 1.
    int nLSpace() const { return nLSpace_; }
    bool setNLSpace(int twips);
    int nRSpace() const { return nRSpace_; }
    bool setNRSpace(int twips);
    int bcLeft() const { return bcLeft_; }
    void setBcLeft(int twips);
    int bcTop() const { return bcTop_; }
    void setBcTop(int twips);
    int bcHeight() const { return bcHeight_; }
    void setBcHeight(int twips);
    int bcWidth() const { return bcWidth_; }
    void setBcWidth(int twips);
    double bcWidth_n() const { return bcWidthN_; }
    bool setBcWidth_n(double factor);
    // What setting Show does, whatever its value: the layout step, then the markers placed again.
    void applyShow();

    // The property bag: a missing key, or a value of the wrong kind or beyond its property's range (NaN
    // and the infinities too), reads as its default; writing leaves out every value equal to its default.
    void ReadProperties(const QVariantMap& bag);
    QVariantMap WriteProperties() const;
    static const QStringList& propertyKeys(); // in the order they are read and written

    // Gestures. `x` is twips inside the element that got the event; a press or move at no finite x
    // does nothing.
    RulerEvents press(RulerPart part, double x, Qt::MouseButton button);
    // The pointer moving over pin 0 or 1 with `buttons` held: a drag while a gesture is open, else it
    // only updates the pin's tooltip.
    RulerEvents move(int pin, double x, Qt::MouseButtons buttons);
    RulerEvents release(RulerPart part);
    RulerEvents keyDown(int key, Qt::KeyboardModifiers modifiers);
    RulerEvents keyUp();
    // Ends a gesture that is still open (the ruler lost the focus or the mouse, or was hidden).
    RulerEvents endOpenGesture();
    bool gestureOpen() const { return gestureOpen_; }

    // The line-spacing tool: a step up (towards 150) or down (towards 20), and the chosen kind.
    RulerEvents stepSpacing(bool up);
    int spacing() const { return spacing_; }
    void setKind(int index) { kind_ = index; }
    int kind() const { return kind_; }
    static RulerEvents choose(MenuEntry entry);

    // The drawing, in twips.
    double scaleLeft() const { return bcLeft_ - kMarkerWidth; } // in the strip
    double scaleTop() const { return bcTop_; }
    double scaleWidth() const { return scaleWidth_; }
    double scaleHeight() const { return bcHeight_; }
    double barLeft() const { return kMarkerWidth; }
    double barWidth() const { return barWidth_; }
    double greenWidth() const { return greenWidth_; }
    double redLeft() const { return redLeft_; }
    double redWidth() const { return redWidth_; }
    double pinLeft(int pin) const { return pinLeft_[pin]; }
    double tickStep() const { return barWidth_ / 21; } // centimetre ticks 0..21, half ticks between
    bool guidesVisible() const { return guidesVisible_; }
    double guideX() const { return guideX_; } // in the scale; the long guide is at scaleLeft() + guideX()
    // A pin's tooltip, empty until the pointer first moved over it.
    const QString& tip(int pin) const { return tips_[pin]; }
    // The element at (x, y) in the scale.
    RulerPart partAt(double x, double y) const;
    // Left edge of an element in the scale, from which press() and move() measure x.
    double partLeft(RulerPart part) const;

private:
    void initLayout();
    void drawRuler(double factor);
    void placeMarkers();
    void moveLeftMarker(double newLeft, RulerEvents& events);
    void moveRightMarker(double newLeft, RulerEvents& events);
    void begin(RulerEvents& events);
    void over(RulerEvents& events);

    int twipsPerPixel_;
    int dpi_;
    int pageTwips_ = 0;
    double cmPerTwip_ = 0;

    int nLSpace_ = 0;
    int nRSpace_ = 0;
    int bcLeft_ = 0;
    int bcTop_ = 0;
    int bcHeight_ = 0;
    int bcWidth_ = 0;
    double bcWidthN_ = 1;

    double scaleWidth_ = 0;
    double barWidth_ = 0;
    double greenWidth_ = 0;
    double redLeft_ = 0;
    double redWidth_ = 0;
    std::array<double, 2> pinLeft_ {};
    std::array<double, 2> grabX_ {};
    std::array<QString, 2> tips_;
    bool moveToggle_ = false;
    bool guidesVisible_ = false;
    double guideX_ = 0;
    bool gestureOpen_ = false;

    int kind_ = static_cast<int>(SetMod::DQLine);
    int spacing_ = 60;
};

} // namespace tunvale::margin
