#pragma once

#include "app/notation/performance_compiler.h"
#include "tests/compiler/notation_text.h"

#include <optional>
#include <string>
#include <vector>

namespace tunvale::testing {

struct CompileOptions {
    std::optional<std::vector<int>> order; // none: every segment once
    int scoreKey = 31;
    int baseKey = 31;
    std::optional<int> markKey; // none: scoreKey
    int volume = 98;
};

inline CompileOptions ScoreKey(int key)
{
    CompileOptions options;
    options.scoreKey = key;
    return options;
}
inline CompileOptions BaseKey(int key)
{
    CompileOptions options;
    options.baseKey = key;
    return options;
}
// The solfège compile: classified in key 0, with the key mark's key for the in-text key changes.
inline CompileOptions SolfegeOf(int markKey)
{
    CompileOptions options;
    options.scoreKey = 0;
    options.markKey = markKey;
    return options;
}
inline CompileOptions Volume(int volume)
{
    CompileOptions options;
    options.volume = volume;
    return options;
}
inline CompileOptions Order(std::vector<int> order)
{
    CompileOptions options;
    options.order = std::move(order);
    return options;
}

inline notation::PerformanceCompiler Compile(
    const platform::RichTextSnapshot& score, const CompileOptions& options = {})
{
    notation::CompileInput input(score);
    input.ScoreKey = options.scoreKey;
    input.BaseKey = options.baseKey;
    input.MarkKey = options.markKey;
    input.Volume = options.volume;
    if (options.order)
        input.playOrder = [order = *options.order](const QString&) { return order; };
    notation::PerformanceCompiler compiler;
    compiler.Get_CodeEvents(input);
    return compiler;
}

// The sounding events of one notation paragraph.
inline std::string Play(const QString& tokens, const CompileOptions& options = {})
{
    return Sounding(Compile(NotationScore().notation(tokens).build(), options).workingEvents());
}

} // namespace tunvale::testing
