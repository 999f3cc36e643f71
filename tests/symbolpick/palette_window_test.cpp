#include "get_symbol.h"
#include "platform/desktop/notation_fonts.h"
#include "tests/support/test_folders.h"

#include <QCheckBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace tunvale;
using symbolpick::GetSymbol;
using tunvale::testing::ScopedUserFolder;

namespace {

// The palette's controls as the user meets them, found in the main window.
struct Palette {
    explicit Palette(QWidget& main)
        : window(main.findChild<QWidget*>("GetNote"))
    {
    }

    template <typename T> T* control(const char* name) const { return window->findChild<T*>(name); }
    QTabBar* tabs() const { return control<QTabBar>("TabStrip1"); }
    QLabel* canvas() const { return control<QLabel>("PicMdi"); }
    QPushButton* insert() const { return control<QPushButton>("Command1"); }
    QCheckBox* check(const char* name) const { return control<QCheckBox>(name); }
    QLineEdit* sizeBox() const { return control<QLineEdit>("Text1"); }
    QString status() const { return control<QLabel>("Panel1")->text(); }
    QImage preview() const { return control<QLabel>("PicShow")->pixmap().toImage(); }

    // The middle of cell `cell` of the grid, in the canvas's pixels (15 twips each offscreen).
    static QPoint cellCentre(int cell)
    {
        return { (280 + 500 * (cell % 8)) / 15, (617 + 1175 * (cell / 8)) / 15 };
    }
    void click(int cell) const { QTest::mouseClick(canvas(), Qt::LeftButton, {}, cellCentre(cell)); }
    // A double-click as the window system delivers it: a click, then the double-click event.
    void doubleClick(int cell) const
    {
        click(cell);
        QTest::mouseDClick(canvas(), Qt::LeftButton, {}, cellCentre(cell));
    }

    QWidget* window;
};

class PaletteWindowTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { platform::loadNotationFonts(); }

    void SetUp() override
    {
        QFile::copy(tunvale::testing::testDataPath(QStringLiteral("symbolpick/kinds.ini")),
            user.file(QStringLiteral("Note.ini")));
        main.resize(600, 400);
        main.show();
    }

    ScopedUserFolder user;
    QWidget main;
};

bool hasInk(const QImage& image)
{
    const QRgb back = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != back)
                return true;
        }
    }
    return false;
}

TEST_F(PaletteWindowTest, OnePaletteIsReusedUntilItOrTheMainWindowCloses)
{
    auto first = symbolpick::CreateGetSymbol(&main);
    Palette palette(main);
    ASSERT_NE(palette.window, nullptr);
    EXPECT_TRUE(palette.window->isVisible());
    EXPECT_TRUE(palette.window->windowFlags() & Qt::Tool);
    EXPECT_EQ(palette.window->windowTitle(), QStringLiteral("符号..."));
    EXPECT_TRUE(first->InstrFormShow());
    EXPECT_EQ(palette.tabs()->count(), 3);

    auto second = symbolpick::CreateGetSymbol(&main);
    EXPECT_EQ(main.findChildren<QWidget*>("GetNote").size(), 1);
    first.reset();
    EXPECT_TRUE(palette.window->isVisible()) << "releasing an object leaves the palette open";

    palette.check("Check1")->setChecked(true);
    palette.check("Check2")->setChecked(true);
    second->BeginFontSize(12);
    QSignalSpy closed(second.get(), &GetSymbol::paletteClosed);
    palette.control<QPushButton>("Command2")->click();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(palette.window->isVisible());
    EXPECT_FALSE(second->InstrFormShow());
    // Closed: the members tell nothing that is ticked.
    EXPECT_EQ(second->GetFontSize(), -1);
    EXPECT_EQ(second->InstrFontSize(), 0.0F);
    EXPECT_FALSE(second->InstrFontBold());

    // Opened again it starts afresh on kind 1, and the main window's closing closes it.
    palette.tabs()->setCurrentIndex(2);
    auto third = symbolpick::CreateGetSymbol(&main);
    EXPECT_TRUE(palette.window->isVisible());
    EXPECT_EQ(palette.tabs()->currentIndex(), 0);
    EXPECT_FALSE(palette.check("Check1")->isChecked());
    EXPECT_TRUE(palette.sizeBox()->text().isEmpty());
    QSignalSpy closedWithMain(third.get(), &GetSymbol::paletteClosed);
    main.close();
    EXPECT_EQ(closedWithMain.count(), 1);
    EXPECT_FALSE(palette.window->isVisible());
}

TEST_F(PaletteWindowTest, APickPreviewsDescribesAndEachInsertSignalsOnce)
{
    auto symbols = symbolpick::CreateGetSymbol(&main);
    Palette palette(main);
    QSignalSpy picked(symbols.get(), &GetSymbol::symbolPicked);
    EXPECT_FALSE(palette.insert()->isEnabled());
    EXPECT_EQ(palette.status(), QStringLiteral("eight signs"));

    // A sign drawn over the next note takes no room of its own, yet shows in its cell and the preview.
    const QImage grid = palette.canvas()->pixmap().toImage();
    EXPECT_TRUE(hasInk(grid.copy(QRect(4, 4, 28, 70))));
    palette.click(0);
    EXPECT_EQ(palette.status(), QStringLiteral("fermata"));
    EXPECT_TRUE(hasInk(palette.preview()));

    palette.click(2);
    EXPECT_EQ(palette.status(), QStringLiteral("voice two"));
    EXPECT_TRUE(hasInk(palette.preview()));
    ASSERT_TRUE(palette.insert()->isEnabled());
    palette.insert()->click();
    palette.insert()->click();
    EXPECT_EQ(picked.count(), 2);
    EXPECT_EQ(symbols->SymbolCode(), QString(QChar(0x6375)));
    EXPECT_EQ(symbols->SymbolFont(), QStringLiteral("KORVA_Note"));
    EXPECT_TRUE(symbols->aInstr());
    symbols->setAInstr(false);

    palette.doubleClick(7);
    EXPECT_EQ(picked.count(), 3);
    EXPECT_EQ(symbols->SymbolCode(), QString(QChar(0x6358)));
    // A press beside the grid only disables Insert.
    QTest::mouseClick(palette.canvas(), Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_FALSE(palette.insert()->isEnabled());
    EXPECT_EQ(palette.status(), QStringLiteral("end repeat"));

    // A cell past the last character clears the preview, and a double-click there inserts nothing.
    palette.tabs()->setCurrentIndex(2);
    palette.click(1);
    EXPECT_TRUE(hasInk(palette.preview()));
    palette.click(5);
    EXPECT_FALSE(palette.insert()->isEnabled());
    EXPECT_FALSE(hasInk(palette.preview()));
    EXPECT_EQ(palette.status(), QString());
    palette.doubleClick(5);
    EXPECT_EQ(picked.count(), 3);
}

TEST_F(PaletteWindowTest, TabsSwitchKindsAndOnlyKindThreeOffersTheRaise)
{
    auto symbols = symbolpick::CreateGetSymbol(&main);
    Palette palette(main);
    EXPECT_FALSE(palette.check("Check3")->isVisible());
    palette.tabs()->setCurrentIndex(2);
    EXPECT_EQ(palette.status(), QStringLiteral("erhu"));
    ASSERT_TRUE(palette.check("Check3")->isVisible());
    palette.check("Check3")->setChecked(true);
    EXPECT_TRUE(symbols->UpWord());
    palette.click(0);
    EXPECT_TRUE(palette.insert()->isEnabled());

    palette.tabs()->setCurrentIndex(1);
    EXPECT_FALSE(palette.check("Check3")->isVisible());
    EXPECT_FALSE(symbols->UpWord()) << "switching kinds unticks the raise";
    EXPECT_FALSE(palette.insert()->isEnabled()) << "and forgets the pick";
    EXPECT_EQ(symbols->SymbolFont(), QStringLiteral("KORVA_Note_Symbol"));
    EXPECT_TRUE(palette.control<QScrollBar>("VScroll1")->isVisible());

    // The wheel moves the five-row grid; its third step snaps it to the bar's next row.
    const auto wheel = [&palette](int delta) {
        QWheelEvent event(QPointF(10, 10), palette.canvas()->mapToGlobal(QPointF(10, 10)), {},
            QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(palette.canvas(), &event);
    };
    wheel(-120);
    EXPECT_EQ(palette.canvas()->y(), qRound(-200 / 15.0));
    wheel(-120);
    wheel(-120);
    EXPECT_EQ(palette.control<QScrollBar>("VScroll1")->value(), 4);
}

// The box of the ink a canvas holds inside `area`.
QRect inkBox(const QImage& image, const QRect& area)
{
    const QRgb back = image.pixel(0, 0);
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixel(x, y) != back)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

// A tempo term wider than its narrow cell keeps its size, turned to run along the cell, where shrunk to
// the cell's width it could not be read; a short one stays as it is written.
TEST_F(PaletteWindowTest, LongTempoTermsAreDrawnAtTheirSize)
{
    auto symbols = symbolpick::CreateGetSymbol(&main);
    Palette palette(main);
    palette.tabs()->setCurrentIndex(1);
    const QImage grid = palette.canvas()->pixmap().toImage();
    // The inside of a cell, clear of its outline.
    const auto inside = [](int cell) {
        return QRect((30 + 500 * (cell % 8)) / 15 + 2, (30 + 1175 * (cell / 8)) / 15 + 2, 29, 74);
    };
    QFont half(QStringLiteral("KORVA_Note_Symbol"));
    half.setPixelSize(30); // 22.5 points
    const struct {
        int cell;
        char16_t code;
        bool turned;
    } cases[] = { { 13, 0x5F8D, true }, { 10, 0x5F8A, false } }; // Prestissimo, Vivo
    for (const auto& c : cases) {
        const QRect ink = inkBox(grid, inside(c.cell));
        const double written = QFontMetricsF(half).boundingRect(QChar(c.code)).width();
        EXPECT_EQ(ink.height() > ink.width(), c.turned) << c.cell;
        EXPECT_GE(std::max(ink.width(), ink.height()), 0.9 * written) << c.cell;
    }
}

// The palette opens wholly within the screen's available area: beside a main window that hangs over the
// screen's corner, and where the user left it half off the screen; a place inside the screen is kept.
TEST_F(PaletteWindowTest, ThePaletteOpensWithinTheScreen)
{
    const QRect area = main.screen()->availableGeometry();
    main.move(area.right() - 100, area.bottom() - 100);
    auto symbols = symbolpick::CreateGetSymbol(&main);
    Palette palette(main);
    EXPECT_TRUE(area.contains(palette.window->frameGeometry())) << "first opening";

    for (const QPoint place : { area.bottomRight() - QPoint(50, 50), area.topLeft() - QPoint(200, 100),
             area.topLeft() + QPoint(10, 20) }) {
        palette.window->close();
        palette.window->move(place);
        symbols = symbolpick::CreateGetSymbol(&main);
        EXPECT_TRUE(area.contains(palette.window->frameGeometry()));
    }
    EXPECT_EQ(palette.window->pos(), area.topLeft() + QPoint(10, 20));
}

TEST_F(PaletteWindowTest, TheSizeBoxTakesDigitsAndFeedsTheSizeMembersWhenTicked)
{
    auto symbols = symbolpick::CreateGetSymbol(&main);
    Palette palette(main);
    symbols->BeginFontSize(10.5F);
    EXPECT_EQ(palette.sizeBox()->text(), QStringLiteral("10.5"));
    EXPECT_EQ(symbols->GetFontSize(), -1) << "unticked, whatever the box holds";
    EXPECT_EQ(symbols->InstrFontSize(), 0.0F);

    palette.check("Check1")->setChecked(true);
    EXPECT_EQ(symbols->GetFontSize(), 10.5F);
    EXPECT_EQ(symbols->InstrFontSize(), 10.5F);
    palette.sizeBox()->setFocus();
    palette.sizeBox()->end(false);
    QTest::keyClicks(palette.sizeBox(), QStringLiteral("x-7"));
    EXPECT_EQ(palette.sizeBox()->text(), QStringLiteral("10.57"));
    palette.sizeBox()->clear();
    EXPECT_EQ(symbols->GetFontSize(), 0);
    EXPECT_EQ(symbols->InstrFontSize(), 0.0F);
    palette.sizeBox()->setText(QStringLiteral("."));
    EXPECT_EQ(symbols->InstrFontSize(), std::nullopt) << "a box that holds no number";
}

} // namespace
