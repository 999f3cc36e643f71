#pragma once

#include "app/frame/vls_markers.h"
#include "app/notation/score_header.h"
#include "app/notation/score_sections.h"

#include <QByteArray>
#include <QString>

// Reading a score file: a decoder that works in memory and changes nothing, and a step that applies
// the play switches and margins to the window.
namespace tunvale::frame {

// What opening a file of a newer format version says before the window closes.
inline const QString kTooNewMessage = QStringLiteral("文件版本较高，软件将关闭。建议升级软件！");
// What refusing a file larger than any score says.
inline const QString kTooLargeMessage = QStringLiteral("文件太大（超过 4 MB），不是乐谱文件，没有打开。");

enum class VlsReadStatus {
    Ok,
    Missing, // no such file
    Unreadable, // a folder, or the file can't be read
    TooNew, // a format version above 5: nothing was read
    TooLarge, // above notation::kMaxScoreFileBytes: nothing was read
    Damaged, // cut short: a score's header and sections without a body, or a body that ends early
};

struct VlsDocument {
    VlsReadStatus status = VlsReadStatus::Ok;
    notation::ScoreHeader header;
    notation::ColorScheme colors;
    VlsMarkers::BodyStart bodyStart;
    QByteArray body; // the unscrambled rich text
    notation::ScoreSections sections; // drum records, play-order key and order, chord section
};

// What a file does not set keeps the value it has in `current` and `currentColors`; `templateColors`
// are the template's, which files of versions 0 and 1 take.
VlsDocument DecodeVls(const QByteArray& file, const QString& fileName, const notation::ScoreHeader& current,
    const notation::ColorScheme& currentColors, const notation::ColorScheme& templateColors);

// Reads the file and decodes it, with the template's colours from ReadColor0. Never creates a file; a
// file above notation::kMaxScoreFileBytes is refused unread, and one that was cut short is Damaged.
VlsDocument ReadVls(const QString& fileName, const notation::ScoreHeader& current,
    const notation::ColorScheme& currentColors);

// The controls of the score window that a read score sets.
class VlsSettingsTarget
{
public:
    virtual ~VlsSettingsTarget() = default;
    virtual void setDrumPZChecked(bool checked) = 0;
    virtual void setAccompanimentType(int index) = 0;
    virtual void setSameSpeedChecked(bool checked) = 0;
    virtual void setHeYingChecked(bool checked) = 0;
    virtual void setRulerLeftSpace(int twips) = 0; // the margin ruler's nLSpace
    virtual void setRulerRightSpace(int twips) = 0; // the margin ruler's nRSpace
};

// Brings the window's switches and ruler in line with a decoded score, in the order the window's
// handlers expect. A document that was not read changes nothing.
void ApplyVlsSettings(const VlsDocument& document, VlsSettingsTarget& target);

} // namespace tunvale::frame
