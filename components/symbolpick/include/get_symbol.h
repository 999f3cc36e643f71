#pragma once

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class QWidget;

#if defined(TUNVALE_SYMBOLPICK_LIBRARY)
#define TUNVALE_SYMBOLPICK_EXPORT Q_DECL_EXPORT
#else
#define TUNVALE_SYMBOLPICK_EXPORT Q_DECL_IMPORT
#endif

// The palette of special notation characters. Creating a GetSymbol shows the one palette window of the
// process ("符号...", a tool window over the main window), loading it from "Note.ini" when it is
// closed. The palette never touches the score: each press of Insert (or a double-click on a character)
// signals symbolPicked, and the caller inserts SymbolCode in SymbolFont. Releasing the object leaves the
// palette open; closing the palette signals paletteClosed.
namespace tunvale::symbolpick {

class TUNVALE_SYMBOLPICK_EXPORT GetSymbol : public QObject
{
    Q_OBJECT

public:
    explicit GetSymbol(QWidget* mainWindow);
    ~GetSymbol() override;

    // The members below read and write the palette while it is open; while it is closed they change
    // nothing and give unticked values.

    // The family of the kind on show.
    QString SymbolFont() const;
    // The character of the last pick.
    QString SymbolCode() const;
    // With "改变字号：" ticked the size box as a number (0 when empty, nothing when it holds no number);
    // otherwise 0.
    std::optional<float> InstrFontSize() const;
    // "二胡符号提升" is ticked: raise the inserted character.
    bool UpWord() const;
    bool InstrFormShow() const;
    void setInstrFormShow(bool vNewValue);
    // A pick waits for the caller, who clears it after inserting.
    bool aInstr() const;
    void setAInstr(bool vNewValue);
    // Writes a size into the size box.
    void BeginFontSize(float vNewValue = 0);
    // "字体加粗" is ticked.
    bool InstrFontBold() const;
    // With "改变字号：" ticked the leading number of the size box (0 when empty); otherwise -1.
    float GetFontSize() const;

signals:
    void symbolPicked();
    void paletteClosed();
};

TUNVALE_SYMBOLPICK_EXPORT std::unique_ptr<GetSymbol> CreateGetSymbol(QWidget* mainWindow);

} // namespace tunvale::symbolpick
