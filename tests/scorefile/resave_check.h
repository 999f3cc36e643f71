#pragma once

#include "app/frame/read_vls.h"
#include "app/frame/vls_header.h"
#include "app/frame/write_vls.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

// Saving what a score file opens with, as the score file commands do.
namespace tunvale::testing {

inline frame::VlsDocument decode(const QByteArray& file)
{
    return frame::DecodeVls(file, QStringLiteral("a.vls"), {}, {}, {});
}

// What the program holds after opening a file: a missing section is an empty one.
inline frame::VlsContent contentOf(const frame::VlsDocument& document)
{
    const notation::ScoreSections& s = document.sections;
    return { document.header, document.colors, document.body, s.drums.value_or(notation::DrumStore {}),
        s.key.value_or(QByteArray()), s.order.value_or(QByteArray()), s.chord.value_or(QByteArray()) };
}

// The header fields and colours as a file of the current version stores them.
inline std::pair<notation::ScoreHeader, notation::ColorScheme> stored(const frame::VlsContent& content)
{
    std::pair<notation::ScoreHeader, notation::ColorScheme> values;
    frame::VlsHeader::decode(frame::VlsHeader::encode(content.header, content.colors),
        frame::VlsHeader::kVersion, values.first, values.second, {});
    values.first.CurrentFile = content.header.CurrentFile;
    return values;
}

// Saves what `file` opens with: either the save is refused, or the new file reads back with the
// values that were read, and saving that again gives the same bytes. False when refused.
inline bool savesAsRead(const QByteArray& file, const std::string& what)
{
    const frame::VlsDocument read = decode(file);
    EXPECT_EQ(read.status, frame::VlsReadStatus::Ok) << what;
    frame::VlsContent content = contentOf(read);
    content.header.CurrentFile = QStringLiteral("a.vls");
    const auto first = frame::BuildVlsFile(content);
    if (!first)
        return false;
    const frame::VlsDocument back = decode(*first);
    const frame::VlsContent again = contentOf(back);
    const auto [header, colors] = stored(content);
    EXPECT_EQ(back.header, header) << what;
    EXPECT_EQ(back.colors, colors) << what;
    EXPECT_EQ(again.drums, content.drums) << what;
    EXPECT_EQ(again.playOrderKey, content.playOrderKey) << what;
    EXPECT_EQ(again.playOrder, content.playOrder) << what;
    EXPECT_EQ(again.chord, content.chord) << what;
    EXPECT_EQ(again.rtf, content.rtf) << what;
    EXPECT_EQ(frame::BuildVlsFile(again), first) << what;
    return true;
}

} // namespace tunvale::testing
