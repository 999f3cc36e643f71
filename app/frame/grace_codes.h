#pragma once

// Grace-note characters of older scores were laid out in blocks of five octave rows of 28 codes; the
// current layout has seven rows of 42. These map an old code to the current one.
namespace tunvale::frame {

// For the font KORVA_Note_yy: codes U+4E00 .. U+525F are remapped, every other code is returned as is.
int ConvertYyCode(int code);

// For the fonts KORVA_Note_yy1 .. KORVA_Note_yy3: codes U+4E00 .. U+548F are remapped.
int ConvertYyNCode(int code);

} // namespace tunvale::frame
