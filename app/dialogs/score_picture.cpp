#include "app/dialogs/score_picture.h"

#include "app/dialogs/rtf_print_preview.h"
#include "platform/settings/whole_file.h"

#include <QIODevice>
#include <QPainter>
#include <QtEndian>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <vector>

namespace tunvale::dialogs {

namespace {

constexpr double kPictureWidth = 11930;
// The part of each sheet that the page's text never reaches.
constexpr int kMargins = kPaginationMargins.Top + kPaginationMargins.Bottom;
constexpr int kBitmapHeaderBytes = 14 + 40;
constexpr qint64 kMegabyte = qint64(1) << 20;

QSizeF pixelSize(const RtfPrintPreview& pages, int pageHeight, int dpi)
{
    const QSizeF size = ScorePictureSize(pages, pageHeight) * (dpi / 1440.0);
    return { std::max(1.0, std::round(size.width())), std::max(1.0, std::round(size.height())) };
}

// A bitmap row of 24-bit pixels is padded to whole 32-bit words.
qint64 rowBytes(qint64 width) { return (width * 3 + 3) / 4 * 4; }

int dotsPerMeter(int dpi) { return int(std::lround(dpi / 0.0254)); }

QByteArray bitmapHeader(const QImage& picture)
{
    QByteArray header(kBitmapHeaderBytes, '\0');
    auto* bytes = reinterpret_cast<uchar*>(header.data());
    const auto image = quint32(rowBytes(picture.width()) * picture.height());
    bytes[0] = 'B';
    bytes[1] = 'M';
    qToLittleEndian<quint32>(kBitmapHeaderBytes + image, bytes + 2);
    qToLittleEndian<quint32>(kBitmapHeaderBytes, bytes + 10);
    qToLittleEndian<quint32>(40, bytes + 14);
    qToLittleEndian<qint32>(picture.width(), bytes + 18);
    qToLittleEndian<qint32>(picture.height(), bytes + 22); // rows bottom up
    qToLittleEndian<quint16>(1, bytes + 26);
    qToLittleEndian<quint16>(24, bytes + 28);
    qToLittleEndian<quint32>(image, bytes + 34);
    qToLittleEndian<qint32>(picture.dotsPerMeterX(), bytes + 38);
    qToLittleEndian<qint32>(picture.dotsPerMeterY(), bytes + 42);
    return header;
}

} // namespace

QSizeF ScorePictureSize(const RtfPrintPreview& pages, int pageHeight)
{
    return { kPictureWidth,
        double(pages.RtfPageCount - 1) * (pageHeight - kMargins) + pages.RtfLastPageHeight };
}

qint64 ScorePictureBytes(const RtfPrintPreview& pages, int pageHeight, int dpi)
{
    const QSizeF pixels = pixelSize(pages, pageHeight, dpi);
    return kBitmapHeaderBytes + rowBytes(qint64(pixels.width())) * qint64(pixels.height());
}

QImage PaintScorePicture(const RtfPrintPreview& pages, int pageHeight, int dpi)
{
    const QSizeF pixels = pixelSize(pages, pageHeight, dpi);
    // Blue, green and red bytes in rows padded to 32 bits: a bitmap file's rows as they are.
    QImage picture(int(pixels.width()), int(pixels.height()), QImage::Format_BGR888);
    if (picture.isNull())
        return picture;
    picture.setDotsPerMeterX(dotsPerMeter(dpi));
    picture.setDotsPerMeterY(dotsPerMeter(dpi));
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(dpi / 1440.0, dpi / 1440.0);
    for (int page = 1; page <= pages.RtfPageCount; ++page) {
        const double top = double(page - 1) * (pageHeight - kMargins);
        // Each page draws within its own sheet, whose top margin lies above its first line.
        const double sheetTop = top - PageMargins(page).Top;
        painter.setClipRect(QRectF(0, sheetTop, kPictureWidth, pageHeight));
        pages.drawPageLines(page, painter, QPointF(0, top));
    }
    return picture;
}

platform::WriteResult SaveBitmap(const QImage& picture, const QString& path)
{
    const QImage rows = picture.format() == QImage::Format_BGR888
        ? picture
        : picture.convertToFormat(QImage::Format_BGR888);
    if (rows.isNull())
        return { false, ENOMEM };
    return platform::CommitWholeFile(path, [&rows](QIODevice& file) {
        if (file.write(bitmapHeader(rows)) != kBitmapHeaderBytes)
            return false;
        // One row at a time, its padding zeroed.
        const auto width = size_t(rows.width()) * 3;
        std::vector<char> row(size_t(rowBytes(rows.width())), '\0');
        for (int y = rows.height() - 1; y >= 0; --y) {
            std::memcpy(row.data(), rows.constScanLine(y), width);
            if (file.write(row.data(), qint64(row.size())) != qint64(row.size()))
                return false;
        }
        return true;
    });
}

PictureSave SaveScorePicture(const RtfPrintPreview& pages, int pageHeight, int dpi, const QString& path)
{
    if (ScorePictureBytes(pages, pageHeight, dpi) > kLargestPictureBytes)
        return { PictureSave::TooLarge };
    const QImage picture = PaintScorePicture(pages, pageHeight, dpi);
    if (picture.isNull())
        return { PictureSave::Failed, ENOMEM };
    const platform::WriteResult written = SaveBitmap(picture, path);
    return { written ? PictureSave::Saved : PictureSave::Failed, written.error };
}

QString PictureTooLargeMessage(qint64 bytes)
{
    return QStringLiteral("图片太大，没有导出：全部页面合成的位图有 %1 MB，超过了 %2 MB 的上限。")
        .arg((bytes + kMegabyte - 1) / kMegabyte)
        .arg(kLargestPictureBytes / kMegabyte);
}

} // namespace tunvale::dialogs
