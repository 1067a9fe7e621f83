#include "platform/LessonViewer.h"

#include "platform/RichViewer.h"

#include <QFont>

void shapeAsLessonViewer(RichViewer& viewer) {
    viewer.setGeometry(16, 24, 627, 289);
    viewer.setLineWidth(2);
    // The window's own font, "MS Sans Serif" at 8 points (see Application for where it is
    // missing).
    viewer.setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
}
