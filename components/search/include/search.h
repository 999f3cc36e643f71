#pragma once

#include <QPointer>
#include <QString>

#include <memory>

class QWidget;

// Searching folders for score files by a part of their name: the program creates a SearchandOpen for
// one command, shows the search window and waits for the file the user picks.
namespace tunvale::search {

class FormSearch;

class SearchandOpen
{
public:
    SearchandOpen();
    ~SearchandOpen();
    SearchandOpen(const SearchandOpen&) = delete;
    SearchandOpen& operator=(const SearchandOpen&) = delete;

    // The folder the search window opens in.
    void VlsPath(const QString& vNewValue);

    // Shows the search window, a tool window that stays above `owner` and closes when `owner` closes;
    // returns at once. Any file picked before is forgotten.
    void ShowSearchandOpenForm(QWidget* owner = nullptr);

    // Runs the event loop until the search window closes, then returns the full path of the file the
    // user picked, or an empty string. Returns at once when no window is shown.
    QString GetVlsFileName();

private:
    QPointer<FormSearch> window_;
};

std::unique_ptr<SearchandOpen> createSearchandOpen();

} // namespace tunvale::search
