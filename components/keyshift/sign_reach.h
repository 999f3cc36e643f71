#pragma once

#include <optional>

// How the player reads accidental signs, so that the transposer reads a score's signs and writes new
// ones exactly as they will be played.
namespace tunvale::keyshift {

// A sign alters the character right after it and every later note of the same written pitch (the
// note's code before any sign, so any duration, but not another octave) up to the next sign or bar
// line, whichever comes first. Characters are fed in text order.
class SignReach
{
public:
    void barLine();
    void sign(int alteration);
    // A character of written pitch `pitch` (none for a character that is no note); returns the
    // alteration the player gives it.
    int character(std::optional<int> pitch);
    // The alteration a note of written pitch `pitch` would get as the next character.
    int alterationOf(int pitch) const;

private:
    std::optional<int> pending_; // a sign waiting for the character right after it
    std::optional<int> reached_; // the written pitch the last sign reaches
    int alteration_ = 0;
};

} // namespace tunvale::keyshift
