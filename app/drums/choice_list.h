#pragma once

#include <QComboBox>

namespace tunvale::drums {

// A drop-down list whose choice runs one handler, connected to chosen(): a user's choice arrives
// through activated, and an index set from code with choose() acts as the same choice, changed or not.
class ChoiceList : public QComboBox
{
    Q_OBJECT

public:
    explicit ChoiceList(QWidget* parent = nullptr);

    // Selects `index` (nothing when it is no item) and runs the handler with the index selected.
    void choose(int index);

signals:
    void chosen(int index);
};

} // namespace tunvale::drums
