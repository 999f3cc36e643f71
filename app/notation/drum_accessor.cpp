#include "app/notation/drum_accessor.h"

#include "platform/text/name_bytes.h"

#include <QByteArray>

#include <utility>

namespace tunvale::notation {

namespace {

bool validTrack(int ch) { return ch >= 0 && ch < DrumRecord::Tracks; }

bool validStep(int x) { return x >= 0 && x < DrumRecord::Steps; }

// The byte and bit mask of a track's step; the first step of each byte is its top bit.
struct StepBit {
    int byte;
    std::uint8_t mask;
};

StepBit stepBit(int x, int ch) { return { ch * 4 + x / 8, std::uint8_t(0x80 >> (x % 8)) }; }

void setBit(std::uint8_t& byte, std::uint8_t mask, bool on) { byte = on ? byte | mask : byte & ~mask; }

} // namespace

DrumAccessor::DrumAccessor(DrumStores& stores)
    : stores_(stores)
{
}

void DrumAccessor::DrumType(int store)
{
    if (store >= XjDrums && store <= DrumScratch)
        selected_ = store;
}

int DrumAccessor::recordCount() const
{
    switch (selected_) {
    case XjDrums:
        return int(stores_.XjDrums.size());
    case DrumTemplates:
        return int(stores_.DrumTemplates.size());
    case AuditionDrum:
        return int(stores_.AuditionDrum.size());
    case DrumClip:
    case DrumEdit:
    case DrumScratch:
        return 1;
    default:
        return 0;
    }
}

const DrumRecord* DrumAccessor::record(int index) const
{
    if (index < 0 || index >= recordCount())
        return nullptr;
    switch (selected_) {
    case XjDrums:
        return &stores_.XjDrums[index];
    case DrumTemplates:
        return &stores_.DrumTemplates[index];
    case AuditionDrum:
        return &stores_.AuditionDrum[index];
    case DrumClip:
        return &stores_.DrumClip;
    case DrumEdit:
        return &stores_.DrumEdit;
    default:
        return &stores_.DrumScratch;
    }
}

DrumRecord* DrumAccessor::record(int index)
{
    return const_cast<DrumRecord*>(std::as_const(*this).record(index));
}

std::uint8_t DrumAccessor::DrumVer(int index) const
{
    const DrumRecord* r = record(index);
    return r ? r->DrumVer : 0;
}

void DrumAccessor::setDrumVer(int index, std::uint8_t value)
{
    if (DrumRecord* r = record(index))
        r->DrumVer = value;
}

QString DrumAccessor::DrumName(int index) const
{
    const DrumRecord* r = record(index);
    if (!r)
        return {};
    const QByteArray bytes(reinterpret_cast<const char*>(r->DrumName.data()), qsizetype(r->DrumName.size()));
    QString name = platform::GbkBytesToText(bytes).remove(QChar(0));
    qsizetype start = 0, end = name.size();
    while (start < end && name[start] == u' ')
        ++start;
    while (end > start && name[end - 1] == u' ')
        --end;
    return name.mid(start, end - start);
}

void DrumAccessor::setDrumName(int index, const QString& name)
{
    if (DrumRecord* r = record(index))
        platform::TextToNameBytes(name, r->DrumName);
}

bool DrumAccessor::DrumChannel(int index, int ch) const
{
    const DrumRecord* r = record(index);
    return r && validTrack(ch) && (r->DrumChannel & (0x80 >> ch));
}

void DrumAccessor::setDrumChannel(int index, int ch, bool on)
{
    DrumRecord* r = record(index);
    if (r && validTrack(ch))
        setBit(r->DrumChannel, std::uint8_t(0x80 >> ch), on);
}

std::uint8_t DrumAccessor::DrumVolume(int index, int ch) const
{
    const DrumRecord* r = record(index);
    return r && validTrack(ch) ? r->DrumVolume[ch] : 0;
}

void DrumAccessor::setDrumVolume(int index, int ch, std::uint8_t value)
{
    DrumRecord* r = record(index);
    if (r && validTrack(ch))
        r->DrumVolume[ch] = value;
}

std::uint8_t DrumAccessor::DrumSounds(int index, int ch) const
{
    const DrumRecord* r = record(index);
    return r && validTrack(ch) ? r->DrumSounds[ch] : 0;
}

void DrumAccessor::setDrumSounds(int index, int ch, std::uint8_t value)
{
    DrumRecord* r = record(index);
    if (r && validTrack(ch))
        r->DrumSounds[ch] = value;
}

std::uint8_t DrumAccessor::DrumTrack(int index) const
{
    const DrumRecord* r = record(index);
    return r ? r->DrumTrack : 0;
}

void DrumAccessor::setDrumTrack(int index, std::uint8_t value)
{
    if (DrumRecord* r = record(index))
        r->DrumTrack = value;
}

std::uint8_t DrumAccessor::DrumTimeSignature(int index) const
{
    const DrumRecord* r = record(index);
    return r ? r->DrumTimeSignature : 0;
}

void DrumAccessor::setDrumTimeSignature(int index, std::uint8_t value)
{
    if (DrumRecord* r = record(index))
        r->DrumTimeSignature = value;
}

int DrumAccessor::DrumTime(int index, QString& text) const
{
    const DrumRecord* r = record(index);
    return r ? TimeSigSteps(r->DrumTimeSignature, text) : 0;
}

std::uint8_t DrumAccessor::DrumSpeed(int index) const
{
    const DrumRecord* r = record(index);
    return r ? r->DrumSpeed : 0;
}

void DrumAccessor::setDrumSpeed(int index, std::uint8_t value)
{
    if (DrumRecord* r = record(index))
        r->DrumSpeed = value;
}

bool DrumAccessor::DrumRhythms(int index, int x, int ch) const
{
    const DrumRecord* r = record(index);
    if (!r || !validStep(x) || !validTrack(ch))
        return false;
    const StepBit b = stepBit(x, ch);
    return r->DrumRhythms[b.byte] & b.mask;
}

void DrumAccessor::setDrumRhythms(int index, int x, int ch, bool on)
{
    DrumRecord* r = record(index);
    if (!r || !validStep(x) || !validTrack(ch))
        return;
    const StepBit b = stepBit(x, ch);
    setBit(r->DrumRhythms[b.byte], b.mask, on);
}

std::uint8_t DrumAccessor::DrumSoundImage(int index, int ch) const
{
    const DrumRecord* r = record(index);
    return r && validTrack(ch) ? r->DrumSoundImage[ch] : 0;
}

void DrumAccessor::setDrumSoundImage(int index, int ch, std::uint8_t value)
{
    DrumRecord* r = record(index);
    if (r && validTrack(ch))
        r->DrumSoundImage[ch] = value;
}

std::uint8_t DrumAccessor::BarsOfSong(int index) const
{
    const DrumRecord* r = record(index);
    return r ? r->BarsOfSong : 0;
}

void DrumAccessor::setBarsOfSong(int index, std::uint8_t value)
{
    if (DrumRecord* r = record(index))
        r->BarsOfSong = value;
}

std::uint8_t DrumAccessor::HaveDrum(int index) const
{
    const DrumRecord* r = record(index);
    return r ? r->HaveDrum : 0;
}

void DrumAccessor::setHaveDrum(int index, std::uint8_t value)
{
    if (DrumRecord* r = record(index))
        r->HaveDrum = value;
}

namespace {

constexpr int XJLongOffset = int(offsetof(DrumRecord, XJLong));

// The offset is relative to the XJLong field; all four bytes must lie inside the record.
bool validXJLongOffset(int no) { return no >= -XJLongOffset && XJLongOffset + no + 4 <= DrumRecord::Size; }

} // namespace

std::int32_t DrumAccessor::XJLong(int index, int no) const
{
    const DrumRecord* r = record(index);
    if (!r || !validXJLongOffset(no))
        return 0;
    const std::uint8_t* p = r->bytes() + XJLongOffset + no;
    return std::int32_t(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16
        | std::uint32_t(p[3]) << 24);
}

void DrumAccessor::setXJLong(int index, int no, std::int32_t value)
{
    DrumRecord* r = record(index);
    if (!r || !validXJLongOffset(no))
        return;
    std::uint8_t* p = r->bytes() + XJLongOffset + no;
    for (int i = 0; i < 4; ++i)
        p[i] = std::uint8_t(std::uint32_t(value) >> (8 * i));
}

std::uint8_t DrumAccessor::sTimetmp(int index, int i) const
{
    const DrumRecord* r = record(index);
    return r && i >= 0 && i < 4 ? r->sTimetmp[i] : 0;
}

void DrumAccessor::setsTimetmp(int index, int i, std::uint8_t value)
{
    DrumRecord* r = record(index);
    if (r && i >= 0 && i < 4)
        r->sTimetmp[i] = value;
}

QString DrumAccessor::D2B(std::uint8_t value) { return QString::number(value, 2).rightJustified(8, u'0'); }

} // namespace tunvale::notation
