#pragma once

#include <QWidget>

// Two arrow buttons stacked in a small square, the line-spacing spinner's only controls: a press on the
// upper one steps up, on the lower one down, one step a press.
namespace tunvale::margin {

class SpinArrows : public QWidget
{
    Q_OBJECT

public:
    explicit SpinArrows(QWidget* parent = nullptr);

signals:
    void stepped(bool up);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRect half(bool up) const;

    int pressed_ = 0; // 1 upper, -1 lower, 0 none
};

} // namespace tunvale::margin
