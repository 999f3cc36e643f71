#include "app/drums/choice_list.h"

namespace tunvale::drums {

ChoiceList::ChoiceList(QWidget* parent)
    : QComboBox(parent)
{
    connect(this, &QComboBox::activated, this, &ChoiceList::chosen);
}

void ChoiceList::choose(int index)
{
    setCurrentIndex(index >= 0 && index < count() ? index : -1);
    emit chosen(currentIndex());
}

} // namespace tunvale::drums
