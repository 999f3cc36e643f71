#pragma once

#include "app/notation/score_header.h"
#include "platform/richtext/api_highlight.h"

#include <cstdint>
#include <memory>

// What the program keeps for the whole run, set at start-up before the main window loads: the values
// of the entry procedure, the open score's header and colours, and the played-note highlighter.
namespace tunvale::frame {

struct StartValues {
    std::int32_t PageWidthTwips = 11906; // A4, 210 mm
    std::int32_t PageHeightTwips = 16838; // A4, 297 mm
    std::int32_t ScrollBarTwips = 255; // one vertical scroll bar
    double NotationFontSize = 32; // typing in a notation font
    double TextFontSize = 12; // typing text
    bool PrintStart = false; // started with "/p" to print and end
    bool OpenFileStart = false; // started with "/OpenFile" by another window, to show that one score
    bool ShowStartProgress = true; // the load writes its progress on the splash window
};

struct ProcessState {
    StartValues start;
    notation::ScoreHeader ScoreHeader;
    notation::ColorScheme ColorScheme;
    std::unique_ptr<platform::ApiHighlight> Highlighter; // made on first use
};

// The one process state.
ProcessState& Process();

} // namespace tunvale::frame
