#pragma once

// What the parts of «Preparar lección» share: the roles its tree's items carry and the caption of
// its boxes.

#include <QString>
#include <QtCore/qnamespace.h>

namespace prepare {

enum Role { KindRole = Qt::UserRole, SectionRole, QuestionRole, AnswerRole, NumberRole };

inline const QString kCaption = QStringLiteral("Preparar lección");

} // namespace prepare
