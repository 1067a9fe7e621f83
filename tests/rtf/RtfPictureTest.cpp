// Pictures: PNG and JPEG in place at their size and scale; anything else or anything broken is
// skipped without harm.

#include "platform/rtf/JpegImage.h"
#include "tests/rtf/RtfTestSupport.h"

#include <QTextBlock>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

QByteArray pict(const QByteArray& header, const QByteArray& data) {
    return "{\\rtf1 a{\\pict" + header + " " + data.toHex() + "}b\\par}";
}

std::vector<QTextImageFormat> images(const QTextDocument& doc) {
    std::vector<QTextImageFormat> found;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat())
                found.push_back(format.toImageFormat());
        }
    }
    return found;
}

TEST(RtfPicture, PngAndJpegShowInPlaceAtTheirSize) {
    const QByteArray png = readDataFile("cuadro.png"); // 80 x 40
    const QByteArray jpeg = readDataFile("hoja.jpg");  // 120 x 60
    auto d = readDoc(pict("\\pngblip\\picw80\\pich40\\picwgoal2400\\pichgoal1200", png));
    EXPECT_EQ(d->toPlainText(), QStringLiteral("a\uFFFCb"));
    auto found = images(*d);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].width(), 160.0); // 2400 twips
    EXPECT_EQ(found[0].height(), 80.0);
    const QImage shown =
        d->resource(QTextDocument::ImageResource, QUrl(found[0].name())).value<QImage>();
    EXPECT_EQ(shown.size(), QSize(80, 40));

    // No goal size: the picture's own pixels, scaled.
    d = readDoc(pict("\\jpegblip\\picscalex50\\picscaley200", jpeg));
    found = images(*d);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].width(), 60.0);
    EXPECT_EQ(found[0].height(), 120.0);

    // Binary picture data.
    d = readDoc("{\\rtf1{\\pict\\pngblip\\bin" + QByteArray::number(png.size()) + " " + png +
                "}\\par}");
    EXPECT_EQ(images(*d).size(), 1u);
}

TEST(RtfPicture, OtherKindsAndBrokenDataAreSkipped) {
    const QByteArray png = readDataFile("cuadro.png");
    const QByteArray jpeg = readDataFile("hoja.jpg");
    EXPECT_EQ(rtfText(pict("\\wmetafile8", png)), QStringLiteral("ab"));
    EXPECT_EQ(rtfText(pict("\\pngblip", "not a picture at all")), QStringLiteral("ab"));
    EXPECT_EQ(rtfText(pict("\\jpegblip", QByteArray(4000, '\xFF'))), QStringLiteral("ab"));
    rtfText(pict("\\jpegblip", jpeg.left(jpeg.size() / 2))); // whatever libjpeg makes of it
    rtfText(pict("\\pngblip", png.left(png.size() / 2)));
    // A picture inside a picture, and a picture where no text goes.
    EXPECT_EQ(rtfText("{\\rtf1 a{\\pict\\pngblip{\\pict 00}" + png.toHex() + "}b\\par}"),
              QStringLiteral("a\uFFFCb"));
    EXPECT_EQ(rtfText("{\\rtf1{\\fonttbl{\\pict\\pngblip " + png.toHex() + "}}x\\par}"),
              QStringLiteral("x"));
}

TEST(RtfPicture, GiganticPicturesAreRefused) {
    QByteArray jpeg = readDataFile("hoja.jpg");
    const qsizetype sof = jpeg.indexOf("\xFF\xC0");
    ASSERT_GT(sof, 0);
    jpeg[sof + 5] = jpeg[sof + 6] = jpeg[sof + 7] = jpeg[sof + 8] = '\xFF'; // 65535 x 65535
    EXPECT_TRUE(decodeJpeg(jpeg).isNull());
    EXPECT_EQ(rtfText(pict("\\jpegblip", jpeg)), QStringLiteral("ab"));
    // The pixel limit is the caller's.
    const QByteArray small = readDataFile("hoja.jpg");
    EXPECT_EQ(decodeJpeg(small).size(), QSize(120, 60));
    EXPECT_TRUE(decodeJpeg(small, 1000).isNull());
    EXPECT_TRUE(decodeJpeg(QByteArray()).isNull());
    EXPECT_TRUE(decodeJpeg("\xFF\xD8\xFF\xE0 garbage garbage").isNull());

    QByteArray png = readDataFile("cuadro.png");
    png[16] = png[20] = '\x7F'; // IHDR width and height far beyond the limit
    EXPECT_EQ(rtfText(pict("\\pngblip", png)), QStringLiteral("ab"));
    // More data than a picture may have is dropped, not kept.
    EXPECT_EQ(rtfText("{\\rtf1 a{\\pict\\pngblip " + QByteArray(66 * 1024 * 1024, 'a') + "}b}"),
              QStringLiteral("ab"));
}

TEST(RtfPicture, JpegColoursSurviveDecoding) {
    const QImage image = decodeJpeg(readDataFile("hoja.jpg"));
    ASSERT_FALSE(image.isNull());
    const QColor yellow = image.pixelColor(10, 10); // made as (240, 220, 40)
    const QColor green = image.pixelColor(100, 50); // made as (30, 140, 60)
    EXPECT_NEAR(yellow.red(), 240, 12);
    EXPECT_NEAR(yellow.blue(), 40, 12);
    EXPECT_NEAR(green.green(), 140, 12);
    EXPECT_NEAR(green.red(), 30, 12);
}

} // namespace
