#include "platform/chart/ChartTextObject.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>

namespace {

constexpr int kChartType = QTextFormat::UserObject + 1;
constexpr int kChartIndex = QTextFormat::UserProperty + 1;
const QString kPrefix = QStringLiteral("grafico:");

// Pixels of the device the document is laid out for, per pixel of a 96 dpi screen.
qreal devicePixels(QTextDocument* document) {
    const QPaintDevice* device = document->documentLayout()->paintDevice();
    return device ? device->logicalDpiY() / 96.0 : 1.0;
}

} // namespace

ChartTextObject::ChartTextObject(QTextDocument* document) : document_(document) {
    document->documentLayout()->registerHandler(kChartType, this);
}

QString ChartTextObject::placeholder(const BarChart& chart, qreal width, qreal height) {
    charts_.append({chart, QSizeF(width, height)});
    return QStringLiteral("<img src=\"%1%2\">").arg(kPrefix).arg(charts_.size() - 1);
}

void ChartTextObject::replacePlaceholders() {
    QTextCursor cursor(document_);
    for (QTextBlock block = document_->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextImageFormat image = fragment.charFormat().toImageFormat();
            if (!image.isValid() || !image.name().startsWith(kPrefix))
                continue;
            bool number = false;
            const int index = image.name().mid(kPrefix.size()).toInt(&number);
            if (!number || index < 0 || index >= charts_.size())
                continue;
            QTextCharFormat format;
            format.setObjectType(kChartType);
            format.setProperty(kChartIndex, index);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
    }
}

QSizeF ChartTextObject::intrinsicSize(QTextDocument* document, int, const QTextFormat& format) {
    const int index = format.property(kChartIndex).toInt();
    if (index < 0 || index >= charts_.size())
        return {};
    const Placed& placed = charts_[index];
    const qreal px = devicePixels(document);
    const QSizeF size = placed.size * px;
    if (size.height() > 0)
        return size;
    qreal height = PreferredHeight(placed.chart, document->documentLayout()->paintDevice());
    // Printed, a chart stays within a page: the document's own margins are 2 cm on each side.
    if (document->pageSize().height() > 0) {
        const qreal margins = 2 * 2 / 2.54 * 96 * px;
        height = std::min(height, (document->pageSize().height() - margins) * 0.9);
    }
    return {size.width(), std::max(height, 100 * px)};
}

void ChartTextObject::drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document,
                                 int, const QTextFormat& format) {
    const int index = format.property(kChartIndex).toInt();
    if (index < 0 || index >= charts_.size())
        return;
    const BarChart& chart = charts_[index].chart;
    PaintBarChart(*painter, chart,
                  LayOutBarChart(chart, rect, document->documentLayout()->paintDevice()));
}
