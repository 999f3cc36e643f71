#include "search.h"

#include "components/search/form_search.h"
#include "components/search/search_state.h"

#include <QEventLoop>

namespace tunvale::search {

SearchState& searchState()
{
    static SearchState state;
    return state;
}

SearchandOpen::SearchandOpen() = default;
SearchandOpen::~SearchandOpen() = default;

void SearchandOpen::VlsPath(const QString& vNewValue) { searchState().StartFolder = vNewValue; }

void SearchandOpen::ShowSearchandOpenForm(QWidget* owner)
{
    searchState().ChosenFile.clear();
    if (window_)
        window_->close();
    // A fresh window for every showing: it loads in its initial state.
    window_ = new FormSearch(owner);
    window_->show();
}

QString SearchandOpen::GetVlsFileName()
{
    if (window_ && searchState().SearchWindowOpen) {
        QEventLoop loop;
        QObject::connect(window_, &FormSearch::unloaded, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return searchState().ChosenFile;
}

std::unique_ptr<SearchandOpen> createSearchandOpen() { return std::make_unique<SearchandOpen>(); }

} // namespace tunvale::search
