#include "platform/rtf/JpegImage.h"

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace {

// libjpeg's own error handler prints and calls exit(): a damaged picture in a lesson must not end
// the program, so errors jump back to decodeJpeg instead.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void onError(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    std::longjmp(manager->jump, 1);
}

void onMessage(j_common_ptr, int) {}

// Adobe writes CMYK inverted; that is what almost every CMYK JPEG in the wild is.
QRgb cmykToRgb(const JSAMPLE* p) {
    const int k = p[3];
    return qRgb(p[0] * k / 255, p[1] * k / 255, p[2] * k / 255);
}

} // namespace

namespace {

// Only trivially destructible locals live in this frame: a longjmp out of libjpeg must not skip a
// destructor. The image and the row buffer belong to the caller.
bool decodeInto(jpeg_decompress_struct& info, ErrorManager& errors, QByteArrayView data,
                qint64 maxPixels, QImage& image, std::vector<JSAMPLE>& row) {
    if (setjmp(errors.jump))
        return false;
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.data()),
                 static_cast<unsigned long>(data.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK)
        return false;
    const qint64 pixels = qint64(info.image_width) * qint64(info.image_height);
    if (pixels <= 0 || pixels > maxPixels)
        return false;

    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    const bool gray = info.jpeg_color_space == JCS_GRAYSCALE;
    info.out_color_space = cmyk ? JCS_CMYK : gray ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_start_decompress(&info);

    const int width = int(info.output_width);
    const int height = int(info.output_height);
    image = QImage(width, height, gray ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    if (image.isNull())
        return false;
    row.resize(std::size_t(width) * std::size_t(info.output_components));
    while (info.output_scanline < info.output_height) {
        const int y = int(info.output_scanline);
        JSAMPROW rows[] = {row.data()};
        if (jpeg_read_scanlines(&info, rows, 1) != 1)
            return false;
        if (gray) {
            std::copy(row.begin(), row.begin() + width, image.scanLine(y));
            continue;
        }
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const JSAMPLE* p = row.data() + std::size_t(x) * std::size_t(info.output_components);
            out[x] = cmyk ? cmykToRgb(p) : qRgb(p[0], p[1], p[2]);
        }
    }
    jpeg_finish_decompress(&info);
    return true;
}

} // namespace

QImage decodeJpeg(QByteArrayView data, qint64 maxPixels) {
    if (data.size() < 4 || data.size() > 0x7fffffff)
        return {};
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.emit_message = onMessage;
    jpeg_create_decompress(&info);

    QImage image;
    std::vector<JSAMPLE> row;
    const bool ok = decodeInto(info, errors, data, maxPixels, image, row);
    jpeg_destroy_decompress(&info);
    return ok ? image : QImage();
}
