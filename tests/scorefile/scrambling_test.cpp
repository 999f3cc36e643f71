#include "app/frame/vls_body.h"
#include "app/notation/vls_key.h"
#include "platform/text/runtime_random.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tunvale;
using platform::RuntimeRandom;

TEST(RuntimeRandom, MatchesTheRuntimeSequence)
{
    RuntimeRandom fresh;
    EXPECT_NEAR(fresh.Rnd(), 0.7055475, 1e-7);

    RuntimeRandom restarted;
    EXPECT_NEAR(restarted.Rnd(-1), 0.2240070, 1e-7);

    // A restart depends only on the argument, not on what was drawn before.
    RuntimeRandom used;
    used.Rnd();
    used.Rnd(5);
    EXPECT_EQ(used.Rnd(-1), RuntimeRandom().Rnd(-1));

    // Zero repeats the last value; a positive argument draws like none.
    RuntimeRandom a, b;
    const float first = a.Rnd();
    EXPECT_EQ(a.Rnd(0), first);
    EXPECT_EQ(b.Rnd(3.0), first);
}

TEST(RuntimeRandom, KeystreamByteIsTheTopOfTheValue)
{
    RuntimeRandom values, bytes;
    values.Rnd(notation::VlsKey::seedArgument());
    bytes.Rnd(notation::VlsKey::seedArgument());
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(int(std::floor(values.Rnd() * 256)), bytes.nextByte()) << i;
}

TEST(VlsBody, ScramblingIsItsOwnInverseAndIgnoresChunkBorders)
{
    QByteArray text(70000, '\0');
    for (int i = 0; i < text.size(); ++i)
        text[i] = char(i * 7 + i / 256);

    const QByteArray whole = frame::VlsBody::scrambled(text);
    EXPECT_NE(whole, text);
    EXPECT_EQ(frame::VlsBody::scrambled(whole), text);

    for (const qsizetype piece : { 1, 3, 32768, 65536 }) {
        QByteArray pieces = text;
        frame::VlsBody body;
        for (qsizetype at = 0; at < pieces.size(); at += piece)
            body.scramble(pieces.data() + at, std::min(piece, pieces.size() - at));
        EXPECT_EQ(pieces, whole) << piece;
    }
}
