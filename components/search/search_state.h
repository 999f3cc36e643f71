#pragma once

#include <QString>

namespace tunvale::search {

// What the search component keeps between its objects and its window for the whole run: the folder
// the window opens in, the file picked in it, and whether the window is open.
struct SearchState {
    QString StartFolder;
    QString ChosenFile;
    bool SearchWindowOpen = false;
};

// The one state of the process; the component runs on the GUI thread only.
SearchState& searchState();

} // namespace tunvale::search
