#include "app/dialogs/score_picture.h"

#include "app/dialogs/rtf_print_preview.h"
#include "platform/settings/whole_file.h"

#include <QBuffer>
#include <QPainter>

#include <cmath>

namespace tunvale::dialogs {

namespace {

constexpr double kPictureWidth = 11930;
// The part of each sheet that the page's text never reaches.
constexpr int kMargins = kPaginationMargins.Top + kPaginationMargins.Bottom;

} // namespace

QSizeF ScorePictureSize(const RtfPrintPreview& pages, int pageHeight)
{
    return { kPictureWidth,
        double(pages.RtfPageCount - 1) * (pageHeight - kMargins) + pages.RtfLastPageHeight };
}

QImage PaintScorePicture(const RtfPrintPreview& pages, int pageHeight, int dpi)
{
    const double pixelsPerTwip = dpi / 1440.0;
    const QSizeF size = ScorePictureSize(pages, pageHeight) * pixelsPerTwip;
    QImage picture(std::max(1, int(std::lround(size.width()))), std::max(1, int(std::lround(size.height()))),
        QImage::Format_RGB32);
    picture.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
    picture.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(pixelsPerTwip, pixelsPerTwip);
    for (int page = 1; page <= pages.RtfPageCount; ++page) {
        const double top = double(page - 1) * (pageHeight - kMargins);
        // Each page draws within its own sheet, whose top margin lies above its first line.
        const double sheetTop = top - PageMargins(page).Top;
        painter.setClipRect(QRectF(0, sheetTop, kPictureWidth, pageHeight));
        pages.drawPageLines(page, painter, QPointF(0, top));
    }
    return picture;
}

bool SaveBitmap(const QImage& picture, const QString& path)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return picture.save(&buffer, "BMP") && platform::CommitWholeFile(path, bytes);
}

} // namespace tunvale::dialogs
