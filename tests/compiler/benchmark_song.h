#pragma once

#include "platform/richtext/rich_text_content.h"
#include "platform/richtext/rich_text_snapshot.h"

// The song the benchmarks time.
namespace tunvale::testing {

// A song of about `characters` characters: notation paragraphs with ornaments, grace notes,
// accidentals, ties and dynamics, a lyric line under each, and a segment mark every fourth paragraph.
platform::RichTextSnapshot BenchmarkSong(int characters);

// The same song as a document: one paragraph per "\r\n", one run per stretch of equal font and colour.
platform::RichContent SnapshotContent(const platform::RichTextSnapshot& song);

} // namespace tunvale::testing
