#pragma once

#include <QString>

// The three words that judge an accepted answer. Scoring compares them and the register stores
// them exactly as spelled here.
namespace Verdict {
inline const QString Correcta = QStringLiteral("Correcta");
inline const QString Incorrecta = QStringLiteral("Incorrecta");
inline const QString Pendiente = QStringLiteral("Pendiente");
} // namespace Verdict
