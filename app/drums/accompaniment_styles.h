#pragma once

#include <QString>
#include <QStringList>

// The accompaniment styles of "banzhou.ini": each a name and the drum note that plays each of five
// note-length classes (longer than a half note, half, quarter, eighth, shorter than an eighth).
namespace tunvale::drums {

class AccompanimentStyles
{
public:
    // From "banzhou.ini" in the program folder; a missing file or count has no styles.
    static AccompanimentStyles load();
    explicit AccompanimentStyles(QString iniFile);

    // The style names in order; a missing name is an empty one.
    QStringList names() const;
    // The name of style n (from 1).
    QString name(int n) const;
    // The drum-list index (note - 13) of class k of style n; -1 when the key is missing or its note
    // lies outside 13..87.
    int soundIndex(int n, int k) const;

private:
    QString file_;
};

} // namespace tunvale::drums
