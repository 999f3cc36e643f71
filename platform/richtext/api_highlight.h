#pragma once

#include <QColor>
#include <QObject>
#include <QPointer>

#include <functional>

// Marks the note being played by colouring its background. The playback thread calls it while the
// GUI thread owns the box, so every call is posted to the thread the highlighter lives on and
// returns at once; a call before AssignControls does nothing.
namespace tunvale::platform {

class RichTextBox;

class ApiHighlight : public QObject
{
    Q_OBJECT

public:
    explicit ApiHighlight(QObject* parent = nullptr);

    // The box to colour, replacing any earlier one. Called on the highlighter's thread.
    void AssignControls(RichTextBox* ctl);
    // Colours the background of the box's current selection; font, size and text colour stay.
    void APIHighlightHard(const QColor& Color);
    // Colours the background of a range, for callers that must not move the selection.
    void APIHighlightHard(int start, int length, const QColor& Color);

private:
    void run(std::function<void()> apply);

    QPointer<RichTextBox> box_;
};
using ClsAPIHighlight = ApiHighlight;

} // namespace tunvale::platform
