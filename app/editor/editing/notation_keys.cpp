#include "app/editor/editing/notation_keys.h"

namespace tunvale::editor {

using notation::GraceFontFamilies;
using notation::NoteFontFamily;

namespace {

bool in(int code, int first, int last) { return code >= first && code <= last; }

// Keys that put a selection into the main notation font before they replace it.
bool setsFontOverSelection(int k)
{
    return in(k, 48, 57) || in(k, 96, 105) || k == 32 || k == 191 || k == 187 || k == 189 || k == 107
        || k == 109 || k == 106 || k == 111;
}

} // namespace

NotationKey NotationKeyAction(int k, int shift, const notation::GlyphDescriptor& before, bool hasSelection)
{
    NotationKey action;
    if (!hasSelection || setsFontOverSelection(k))
        action.font = NoteFontFamily;
    if (shift != 0 && shift != 1)
        return action;
    const int s1 = before.DurIndex;
    const int s2 = before.ArcRight;
    auto put = [&](int code) { action.insert = QChar(char16_t(code)); };
    if (shift == 1) {
        if (k == 56)
            put(25246 + s1 + 6 * s2);
    } else if (in(k, 49, 55) || in(k, 97, 103)) {
        const int digit = k <= 55 ? k - 48 : k - 96;
        put(19968 + (digit - 1) + 588 * s2);
    } else if (k == 48 || k == 96) {
        put(25294 + 6 * s2);
    } else if (k == 32 || k == 191) {
        put(25425 + 3 * s2);
    } else if (k == 187 || k == 107) {
        put(25426 + 3 * s2);
    } else if (k == 189 || k == 109) {
        put(25427 + 3 * s2);
    } else if (k == 190 || k == 110) {
        put(25282 + s1 + 6 * s2);
    } else if (k == 106) {
        action.font = NoteFontFamily;
        put(25246 + s1 + 6 * s2);
    } else if (k == 56 || k == 104) {
        put(25345 + 5 * s1 + 30 * s2);
    } else if (k == 57 || k == 105) {
        action.font = NoteFontFamily;
        put(25346 + 5 * s1 + 30 * s2);
    } else if (k == 111) {
        action.font = GraceFontFamilies[0];
        put(40 + s2);
    } else if (k == keys::InputMethod) {
        action.inputMethod = true;
    }
    action.swallow = k != keys::Backspace && k != keys::Delete;
    return action;
}

} // namespace tunvale::editor
