#pragma once

#include "platform/richtext/rich_text_box.h"

#include <QString>

#include <memory>

class QTextDocument;

// Scores long enough to fill pages, built through the rich-text adapter.
namespace tunvale::testing {

// The preview's page: A4 with 720 twips above the text and 1440 below.
constexpr int kPageWidth = 11906;
constexpr int kPageHeight = 16838;
constexpr int kLayoutHeight = kPageHeight - 720 - 1440;

// Appends a paragraph (a break before it unless the box is empty) in `font` at `points`, with exact
// line spacing in twips when `spacing` is above 0.
void AddParagraph(platform::RichTextBox& box, const QString& text,
    const QString& font = QStringLiteral("宋体"), double points = 12, int spacing = 0);

// A title and `lines` pairs of a notation line and its lyric line, each at exact spacing `spacing`.
void FillSong(platform::RichTextBox& box, int lines, int spacing = 600);

// `paragraphs` paragraphs of `text` (empty ones for an empty text) in `font` at `points`, made at once.
std::unique_ptr<QTextDocument> RepeatedParagraphs(
    int paragraphs, const QString& text, double points, const QString& font = QStringLiteral("宋体"));

} // namespace tunvale::testing
