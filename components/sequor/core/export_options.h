#pragma once

#include <QString>

namespace tunvale::sequor {

// What the export options dialog leaves for the writer.
struct ExportOptions {
    bool SelectionOnly = false;
    bool UseScoreDrums = false; // the drum-pattern track
    bool AutoPercussion = false; // percussion drawn from the note lengths
    bool OverlayTrack = false; // the melody once more on a second instrument
    bool MainPanOn = false;
    int PercussionVolume = 80; // percent of the melody velocity, 5..127; otherwise 80 %
    int MainPan = 64;
    int OverlayProgram = 0;
    int OverlayVolume = 60; // the overlay's base velocity
    int OverlayPan = 64;
    QString MidTitle;
    QString MidNotice;
    QString MidComment;
};

} // namespace tunvale::sequor
