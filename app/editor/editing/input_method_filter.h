#pragma once

#include <QObject>

#include <functional>

// Typing through an input method into a notation line would put letters or Chinese characters into
// the notation: the filter refuses the composition with the notation keyboard's message, as the
// editor's key handler refuses the input-method key.
namespace tunvale::editor {

class InputMethodFilter : public QObject
{
    Q_OBJECT

public:
    // `onNotationLine` tells whether the editor's caret stands on a notation line.
    explicit InputMethodFilter(std::function<bool()> onNotationLine, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<bool()> onNotationLine_;
};

} // namespace tunvale::editor
