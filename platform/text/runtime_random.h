#pragma once

#include <QByteArray>

#include <cstdint>

// The pseudo-random sequence of the runtime that score bodies were scrambled with. Files written with
// any other generator can't be read back, so the recurrence and the restart rule are fixed here.
// Give every user its own instance: the sequence must not be drawn from between a restart and the
// last byte that depends on it.
namespace tunvale::platform {

class RuntimeRandom
{
public:
    // x < 0 restarts the sequence from x, x > 0 and no argument take the next value, x = 0 repeats the
    // last value. The result lies in [0, 1).
    float Rnd(double x);
    float Rnd();

    // floor(Rnd() * 256), computed in integers.
    std::uint8_t nextByte()
    {
        step();
        return std::uint8_t(state_ >> 16);
    }

    // XORs every byte with the next keystream byte; the stream runs on across calls.
    void xorKeystream(char* data, qsizetype size);
    void xorKeystream(QByteArray& bytes) { xorKeystream(bytes.data(), bytes.size()); }

private:
    void step() { state_ = (state_ * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu; }
    float value() const { return float(state_) / float(1 << 24); }

    std::uint32_t state_ = 0x50000;
};

} // namespace tunvale::platform
