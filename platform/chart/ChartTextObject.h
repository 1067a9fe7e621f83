#pragma once

#include "platform/chart/BarChart.h"

#include <QObject>
#include <QTextObjectInterface>

class QTextDocument;

// Bar charts inside a text document, painted as the document is painted: as vectors into a PDF.
// A chart stands in the document's HTML as an image named by placeholder(); once the HTML is set,
// replacePlaceholders() puts the charts in their place. They are drawn while this object lives.
class ChartTextObject : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    explicit ChartTextObject(QTextDocument* document);

    // An <img> element for the chart, width pixels of a 96 dpi screen wide, and height high;
    // rows take the height they need (at most a page's, when the document has pages).
    QString placeholder(const BarChart& chart, qreal width, qreal height = 0);
    void replacePlaceholders();

    QSizeF intrinsicSize(QTextDocument* document, int position, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int position,
                    const QTextFormat& format) override;

private:
    struct Placed {
        BarChart chart;
        QSizeF size;
    };
    QTextDocument* document_;
    QList<Placed> charts_;
};
