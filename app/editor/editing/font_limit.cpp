#include "app/editor/editing/font_limit.h"

#include "platform/desktop/prompts.h"

namespace tunvale::editor {

namespace {

bool allowedUnless(bool tooMany)
{
    if (tooMany)
        platform::Prompts::current().information(kFontsRefused);
    return !tooMany;
}

} // namespace

bool FontsAllowed(
    const platform::RichTextBox& box, int start, int length, const std::vector<platform::RunFormat>& formats)
{
    return allowedUnless(box.tooManyFontsWith(start, length, formats));
}

bool FontChangeAllowed(const platform::RichTextBox& box, int start, int length,
    const std::function<void(platform::RunFormat&)>& change)
{
    return allowedUnless(box.tooManyFontsAfter(start, length, change));
}

} // namespace tunvale::editor
