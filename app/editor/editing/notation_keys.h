#pragma once

#include "app/notation/notation_chars.h"

#include <QString>

#include <optional>

// The notation keyboard: in a notation line each key inserts one notation character chosen from the
// key and the character before the caret, so that a note typed after a slurred note goes on under the
// slur and a dot after an eighth note takes the eighth-note form. Every inserting key has its twin on
// the numeric keypad.
namespace tunvale::editor {

// Key codes of the keys that mean something here.
namespace keys {
constexpr int Backspace = 8;
constexpr int Enter = 13;
constexpr int Space = 32;
constexpr int Left = 37;
constexpr int Right = 39;
constexpr int Delete = 46;
constexpr int D = 68;
constexpr int P = 80;
constexpr int Y = 89;
constexpr int Z = 90;
constexpr int InputMethod = 229;
} // namespace keys

struct NotationKey {
    // The font the caret or the selection gets before anything is inserted; none keeps the font.
    std::optional<QString> font;
    // The character inserted in place of the selection.
    std::optional<QChar> insert;
    // The key goes no further: the editor types nothing of its own.
    bool swallow = false;
    // An input method is typing into a notation line.
    bool inputMethod = false;
};

// What key `keyCode` with the shift mask `shift` (1 Shift, 2 Ctrl, 4 Alt) does in a notation line,
// `before` being the descriptor of the character before the caret.
NotationKey NotationKeyAction(
    int keyCode, int shift, const notation::GlyphDescriptor& before, bool hasSelection);

inline const QString kInputMethodMessage
    = QStringLiteral("请在纯英文状态下输入简谱(建议用小键盘输入)，完成后再录入歌词。");

} // namespace tunvale::editor
