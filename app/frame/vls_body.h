#pragma once

#include "platform/text/runtime_random.h"

#include <QByteArray>

// The scrambled rich text of a score file: every byte XOR the next byte of the keystream that the
// key's seed starts. The same operation scrambles and unscrambles.
namespace tunvale::frame {

class VlsBody
{
public:
    // A keystream of its own, freshly restarted from the key.
    VlsBody();

    // Scrambles the next bytes; the stream runs on from call to call.
    void scramble(char* data, qsizetype size) { random_.xorKeystream(data, size); }
    void scramble(QByteArray& bytes) { random_.xorKeystream(bytes); }

    // A whole body scrambled from the start of the stream.
    static QByteArray scrambled(QByteArray body);

private:
    platform::RuntimeRandom random_;
};

} // namespace tunvale::frame
