#include "platform/Anchors.h"

#include <QEvent>
#include <QHash>
#include <QPointer>
#include <QWidget>

namespace {

struct Held {
    QPointer<QWidget> child;
    Qt::Edges edges;
    QRect designed;
};

// One per parent: remembers the parent's designed size and every anchored child.
class AnchorKeeper : public QObject {
public:
    explicit AnchorKeeper(QWidget* parent) : QObject(parent), designed_(parent->size()) {
        setObjectName(QStringLiteral("anchorKeeper"));
        parent->installEventFilter(this);
    }

    void hold(QWidget* child, Qt::Edges edges) {
        held_.append({child, edges, child->geometry()});
        place(held_.back(), static_cast<QWidget*>(this->parent())->size());
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == parent() && event->type() == QEvent::Resize) {
            const QSize now = static_cast<QWidget*>(watched)->size();
            for (const Held& h : held_)
                place(h, now);
        }
        return false;
    }

private:
    // Held by neither side of a direction, a child keeps its centre at the same share of the
    // parent's size: the new start of the child.
    static int scaledCentre(int start, int length, int designed, int now) {
        if (designed <= 0)
            return start;
        const int centre = start + length / 2;
        return static_cast<int>(qint64(centre) * now / designed) - length / 2;
    }

    void place(const Held& h, QSize now) const {
        if (!h.child)
            return;
        const int dx = now.width() - designed_.width();
        const int dy = now.height() - designed_.height();
        QRect r = h.designed;
        if (h.edges & Qt::RightEdge) {
            if (h.edges & Qt::LeftEdge)
                r.setWidth(std::max(0, r.width() + dx));
            else
                r.moveLeft(r.left() + dx);
        } else if (!(h.edges & Qt::LeftEdge)) {
            r.moveLeft(scaledCentre(r.left(), r.width(), designed_.width(), now.width()));
        }
        if (h.edges & Qt::BottomEdge) {
            if (h.edges & Qt::TopEdge)
                r.setHeight(std::max(0, r.height() + dy));
            else
                r.moveTop(r.top() + dy);
        } else if (!(h.edges & Qt::TopEdge)) {
            r.moveTop(scaledCentre(r.top(), r.height(), designed_.height(), now.height()));
        }
        h.child->setGeometry(r);
    }

    QSize designed_;
    QList<Held> held_;
};

} // namespace

void anchor(QWidget* child, Qt::Edges edges) {
    QWidget* parent = child->parentWidget();
    if (!parent)
        return;
    auto* keeper = static_cast<AnchorKeeper*>(
        parent->findChild<QObject*>(QStringLiteral("anchorKeeper"), Qt::FindDirectChildrenOnly));
    if (!keeper)
        keeper = new AnchorKeeper(parent);
    keeper->hold(child, edges);
}
