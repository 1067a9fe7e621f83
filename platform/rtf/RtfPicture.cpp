#include "platform/rtf/RtfPicture.h"

#include "platform/rtf/JpegImage.h"
#include "platform/rtf/RtfTokenizer.h"

#include <QBuffer>
#include <QImageReader>

namespace {

QImage decodePng(const QByteArray& data, qint64 maxPixels) {
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    const QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * size.height() > maxPixels)
        return {};
    return reader.read();
}

// Twips are 1/1440 inch; the screen has 96 pixels to the inch.
double displayLength(int goalTwips, int pixels, int scalePercent) {
    const double scale = scalePercent > 0 && scalePercent <= 10000 ? scalePercent / 100.0 : 1.0;
    const double natural = goalTwips > 0 ? goalTwips / 15.0 : double(pixels);
    return std::clamp(natural * scale, 1.0, 20000.0);
}

} // namespace

void RtfPicture::begin() {
    *this = RtfPicture();
    active_ = true;
}

void RtfPicture::appendHex(QByteArrayView text) {
    if (!room(text.size() / 2 + 1)) {
        tooBig_ = true;
        return;
    }
    for (char c : text) {
        const int h = hexDigitValue(c);
        if (h < 0)
            continue;
        if (nibble_ < 0) {
            nibble_ = h;
        } else {
            data_.append(char(nibble_ * 16 + h));
            nibble_ = -1;
        }
    }
}

void RtfPicture::appendBinary(QByteArrayView data) {
    if (!room(data.size())) {
        tooBig_ = true;
        return;
    }
    data_.append(data);
}

RtfPicture::Result RtfPicture::finish() {
    Result result;
    active_ = false;
    if (tooBig_ || data_.isEmpty() || kind_ == Kind::Other)
        return result;
    // Writers that name no blip kind still mean PNG or JPEG when the data says so.
    Kind kind = kind_;
    if (kind == Kind::Unknown) {
        if (data_.startsWith("\x89PNG"))
            kind = Kind::Png;
        else if (data_.startsWith("\xFF\xD8\xFF"))
            kind = Kind::Jpeg;
    }
    if (kind == Kind::Png)
        result.image = decodePng(data_, kMaxPixels);
    else if (kind == Kind::Jpeg)
        result.image = decodeJpeg(data_, kMaxPixels);
    data_.clear();
    if (result.image.isNull())
        return result;
    result.size = QSizeF(displayLength(goalWidth_, result.image.width(), scaleX_),
                         displayLength(goalHeight_, result.image.height(), scaleY_));
    return result;
}
