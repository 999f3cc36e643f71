#pragma once

#include "platform/settings/whole_file.h"

#include <QImage>
#include <QSizeF>
#include <QString>

// All pages of a pagination as one tall picture, the score's way out as an image.
namespace tunvale::dialogs {

class RtfPrintPreview;

// The largest picture the export writes: a bitmap file of 256 MB, about 110 A4 pages at 96 dpi.
inline constexpr qint64 kLargestPictureBytes = qint64(256) << 20;

// The picture's size in twips: 11930 wide, and (N - 1) x (pageHeight - 2160) + the last page's height
// high, 2160 being the two margins that a page's text never reaches.
QSizeF ScorePictureSize(const RtfPrintPreview& pages, int pageHeight);

// The bytes of the bitmap file of the picture at `dpi`.
qint64 ScorePictureBytes(const RtfPrintPreview& pages, int pageHeight, int dpi);

// Draws the picture on white at `dpi`, page by page into the one bitmap: page i's first line stands
// (i - 1) x (pageHeight - 2160) twips from the top, so the pages follow each other without their
// margins and nothing of one page is painted over by the next. A null image when there is no memory
// for it.
QImage PaintScorePicture(const RtfPrintPreview& pages, int pageHeight, int dpi);

// Saves a picture as a 24-bit Windows bitmap, row by row from the picture itself; the file is replaced
// only when all of it was written.
platform::WriteResult SaveBitmap(const QImage& picture, const QString& path);

// How a picture's save ended; `error` is the system's error number of what failed.
struct PictureSave {
    enum Status { Saved, TooLarge, Failed };
    Status status = Saved;
    int error = 0;
};

// Paints the picture and saves it at `path`. A picture above kLargestPictureBytes is not painted and
// nothing is written.
PictureSave SaveScorePicture(const RtfPrintPreview& pages, int pageHeight, int dpi, const QString& path);

// What the user is told about a picture above the limit.
QString PictureTooLargeMessage(qint64 bytes);

} // namespace tunvale::dialogs
