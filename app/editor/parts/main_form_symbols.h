#pragma once

#include "app/editor/parts/main_form_part.h"
#include "platform/richtext/rich_text_format.h"

#include <QPointer>

#include <vector>

namespace tunvale::symbolpick {
class GetSymbol;
}

namespace tunvale::editor {

// 插入 → 特殊符号... (Ctrl+I): the palette of special signs. It opens on a notation line, the key line
// or line 6; each sign picked in it is inserted at the caret as one undo step in its kind's font,
// bold, resized or raised as the palette says, and the palette stays open for the next.
class MainFormSymbols final : public MainFormPart
{
    Q_OBJECT

public:
    // How far "二胡符号提升" raises a sign.
    static constexpr int RaisePoints = 15;

    explicit MainFormSymbols(MainForm& form);
    ~MainFormSymbols() override;

    // The command: opens the palette, or brings it up again, with the caret's font size in its size
    // box; on any other line it says where signs go.
    void openPalette();
    // A key was released in the editor: while the palette is open its size box follows the caret.
    void followCaretSize(double points);
    bool SymbolPickerOpen() const { return symbolPickerOpen_; }

private:
    void insertPick();
    // The formats a pick leaves in the text, with the caret's typing format `typing`.
    std::vector<platform::RunFormat> pickFormats(const platform::RunFormat& typing) const;
    void paletteClosed();

    QPointer<symbolpick::GetSymbol> SymbolPicker;
    bool symbolPickerOpen_ = false;
};

} // namespace tunvale::editor
