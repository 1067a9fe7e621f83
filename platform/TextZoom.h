#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QAbstractScrollArea;
class QTextDocument;
class QWidget;

// The reading size of a window's text boxes: Ctrl and + / Ctrl and - / Ctrl and 0, and Ctrl with
// the mouse wheel over a box, enlarge, reduce and reset every box together, from 50% to 300%.
// Rich text keeps its own proportions: each size in it is scaled from the size it was loaded
// with. The size is kept in the user's settings under settingsKey and comes back at the next run;
// at 100%, the first run, nothing is touched.
class TextZoom : public QObject {
public:
    static constexpr int kMinimum = 50;
    static constexpr int kMaximum = 300;
    static constexpr int kStep = 10;

    TextZoom(QWidget* window, const QList<QAbstractScrollArea*>& boxes, const QString& settingsKey);

    int percent() const { return percent_; }
    void setPercent(int percent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Box {
        QPointer<QAbstractScrollArea> widget;
        qreal designedPoints;
        QPointer<QTextDocument> scaled; // the document last scaled, to catch a newly loaded one
    };

    void apply(Box& box);
    void applyWhereLoaded();

    QList<Box> boxes_;
    QString key_;
    int percent_ = 100;
    bool applying_ = false;
};
