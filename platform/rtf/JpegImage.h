#pragma once

#include <QByteArrayView>
#include <QImage>

// Decodes a JPEG picture with libjpeg. Any fault in the data (truncated, corrupt, unsupported, or
// more than maxPixels pixels) gives a null image; it never ends the process.
QImage decodeJpeg(QByteArrayView data, qint64 maxPixels = 40'000'000);
