// PNG encoding with a transparent key, and decoding, through QImage.
#include "platform/qt/QtImageIO.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>

namespace ratiscope {

std::vector<std::uint8_t> EncodePng(const TImage& image, std::optional<TColor> transparentKey) {
    if (image.Width() == 0 || image.Height() == 0) return {};
    QImage out(image.Width(), image.Height(), transparentKey ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (out.isNull()) return {};
    const TPixel key = transparentKey ? PixelFromColor(*transparentKey) : 0;
    for (std::int32_t y = 0; y < image.Height(); ++y) {
        const auto src = image.Row(y);
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (std::int32_t x = 0; x < image.Width(); ++x) {
            const TPixel p = src[static_cast<std::size_t>(x)] | 0xFF000000u;
            dst[x] = transparentKey && p == key ? (p & 0x00FFFFFFu) : p;
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !out.save(&buffer, "PNG")) return {};
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

std::optional<TImage> DecodePng(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>* alpha) {
    if (bytes.empty()) return std::nullopt;
    QImage in = QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()));
    if (in.isNull() || in.width() > 32767 || in.height() > 32767) return std::nullopt;
    in = in.convertToFormat(QImage::Format_ARGB32);
    TImage image(in.width(), in.height());
    if (alpha) alpha->assign(static_cast<std::size_t>(in.width()) * static_cast<std::size_t>(in.height()), 0);
    for (int y = 0; y < in.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(in.constScanLine(y));
        auto row = image.Row(y);
        for (int x = 0; x < in.width(); ++x) {
            row[static_cast<std::size_t>(x)] = src[x] | 0xFF000000u;
            if (alpha) (*alpha)[static_cast<std::size_t>(y) * static_cast<std::size_t>(in.width()) + static_cast<std::size_t>(x)] =
                static_cast<std::uint8_t>(qAlpha(src[x]));
        }
    }
    return image;
}

}  // namespace ratiscope
