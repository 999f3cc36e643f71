#pragma once

#include <QWidget>

// The margin guide that runs down over the score during a margin gesture: a thin line the mouse passes
// through.
namespace tunvale::margin {

class GuideLine : public QWidget
{
public:
    explicit GuideLine(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tunvale::margin
