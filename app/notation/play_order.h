#pragma once

#include "app/notation/score_sections.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// The order in which the segments of a score are performed, and its two sections in score files:
// "/POrderStr" key "/EPOrderStr" and "/PlayOrder" one byte per entry "/EPlayOrder". A stored order is
// used only while its key equals the key of the score as it stands.
namespace tunvale::notation {

using PlayOrderEntries = std::vector<std::int16_t>;

inline const QString kPlayOrderTooLongMessage = QStringLiteral("演唱顺序太长，已改用默认顺序。");

// What the play order needs of the score in the window.
class PlayOrderScore
{
public:
    virtual ~PlayOrderScore() = default;
    // The score's file; the template's path when the score is untitled.
    virtual QString currentFile() const = 0;
    // The editor's notation lines joined in order (see NotationText).
    virtual QString notationText() const = 0;
};

// The content of the key ("/POrderStr" "/EPOrderStr"), order ("/PlayOrder" "/EPlayOrder") or chord
// section ("/Chord" "/EChord") of a score file in memory, found by the file's structure (see
// ScoreFileLayout); no value when the section or its end marker is missing, or for other markers.
std::optional<QByteArray> SectionContent(const QByteArray& file, QByteArrayView begin, QByteArrayView end);

// Replaces the content of that section with `content`. Without the section, it is put in front of the
// chord section with both markers. False, file unchanged, when the section has no end marker, when
// neither it nor the chord section is there, or when the result would not read back with `content`
// and the other sections and the body as they were.
bool ReplaceSection(QByteArray& file, QByteArrayView begin, QByteArrayView end, QByteArrayView content);

// The stored key and order of a score file in memory, as they are (no checks).
std::optional<QByteArray> StoredPlayOrderKey(const QByteArray& file);
std::optional<PlayOrderEntries> StoredPlayOrder(const QByteArray& file);

// The entries of an order section's content, one per byte.
PlayOrderEntries PlayOrderEntriesOf(const QByteArray& bytes);

// The order section's content: one byte per entry, its low 8 bits.
QByteArray PlayOrderBytes(const PlayOrderEntries& order);

// An ini value such as "1,2,3,2,4" (1-based) as 0-based entries; an item whose number does not fit
// 16 bits is skipped.
PlayOrderEntries ParsePlayOrderText(const QString& text);

class PlayOrder
{
public:
    // 0-based segment numbers in performance order.
    PlayOrderEntries Entries;

    // The score the order belongs to; without one the key is "" and no file is read.
    void setScore(const PlayOrderScore* score) { score_ = score; }

    // The score file, else the ini files, else the default order. A stored order that would play more
    // than MaxPlayedEvents events is refused for the default order, and the user is told so.
    bool LoadPlayOrder();
    // The same with the sections of the score file as they were just read, without reading it again.
    bool LoadPlayOrder(const ScoreSections& stored);
    // Loads that tell nobody: a compile reloads the order each time it runs, and the user was told
    // when the score was opened.
    void setQuiet(bool quiet) { quiet_ = quiet; }
    // The order stored in a score file whose stored key equals the current key.
    bool ReadPlayOrderFromFile(const QString& fileName);
    bool ReadPlayOrderFromFile(const QByteArray& file);
    bool ReadPlayOrderFromFile(const ScoreSections& stored);
    // [演唱顺序] of "MyNote.ini", then of "Note.ini".
    bool ReadPlayOrderFromIni();
    // Each segment once in text order; empty when the key has fewer than two digits.
    bool DefaultPlayOrder();

    // Write the current key and Entries into their sections. The file forms refuse the template and
    // replace the file only when the whole new content is ready; they show the failure message
    // themselves.
    bool SavePlayOrderKey(const QString& fileName) const;
    bool SavePlayOrderKey(QByteArray& file) const;
    bool SavePlayOrder(const QString& fileName) const;
    bool SavePlayOrder(QByteArray& file) const;

    QString GetPlayOrderKey() const;
    // The entries a save stores with `key`, the current key: none for a score without a segment (a key
    // of fewer than two digits), for which no order is read and the default one is empty.
    PlayOrderEntries EntriesToSave(const QString& key) const;

private:
    // A stored order (`stored`: one was read) that plays too long gives way to the default one, and
    // the user is told.
    bool keepOrDefault(bool stored);
    bool rewriteFile(const QString& fileName, bool (PlayOrder::*put)(QByteArray&) const) const;
    bool playsTooLong() const;

    const PlayOrderScore* score_ = nullptr;
    bool quiet_ = false;
};
using PlayOrder2021 = PlayOrder;

// The play order of the score in this process's window.
PlayOrder& ProcessPlayOrder();

} // namespace tunvale::notation
