#include "app/frame/grace_codes.h"

namespace tunvale::frame {

namespace {

constexpr int kFirstCode = 0x4E00;

// Old rows middle, one and two octaves down, one and two up; the new rows three octaves down (3) and
// up (6) have no old counterpart.
constexpr int kNewRow[5] = { 0, 1, 2, 4, 5 };

int remap(int code, int oldRows)
{
    const int n = code - kFirstCode;
    if (n < 0 || n >= oldRows * 28)
        return code;
    const int block = n / 140;
    const int row = (n % 140) / 28;
    return kFirstCode + 294 * block + 42 * kNewRow[row] + n % 28;
}

} // namespace

int ConvertYyCode(int code) { return remap(code, 40); }

int ConvertYyNCode(int code) { return remap(code, 60); }

} // namespace tunvale::frame
