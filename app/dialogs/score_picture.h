#pragma once

#include <QImage>
#include <QSizeF>
#include <QString>

// All pages of a pagination as one tall picture, the score's way out as an image.
namespace tunvale::dialogs {

class RtfPrintPreview;

// The picture's size in twips: 11930 wide, and (N - 1) x (pageHeight - 2160) + the last page's height
// high, 2160 being the two margins that a page's text never reaches.
QSizeF ScorePictureSize(const RtfPrintPreview& pages, int pageHeight);

// Draws the picture on white at `dpi`: page i's first line stands (i - 1) x (pageHeight - 2160) twips
// from the top, so the pages follow each other without their margins and nothing of one page is painted
// over by the next.
QImage PaintScorePicture(const RtfPrintPreview& pages, int pageHeight, int dpi);

// Saves a picture as a Windows bitmap; the file is replaced only when all of it was written.
bool SaveBitmap(const QImage& picture, const QString& path);

} // namespace tunvale::dialogs
