#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The verdict on an accepted answer: what the key's judgment mark gives, what the student is told,
// what the register stores and what the teacher's reports count.
enum class Verdict : quint8 { Correcta, Incorrecta, Pendiente };

// The verdict's word, as the student sees it and the register stores it.
inline QString VerdictText(Verdict verdict) {
    switch (verdict) {
    case Verdict::Correcta:
        return QStringLiteral("Correcta");
    case Verdict::Incorrecta:
        return QStringLiteral("Incorrecta");
    case Verdict::Pendiente:
        break;
    }
    return QStringLiteral("Pendiente");
}

// The verdict that a word names, spelled exactly as VerdictText writes it; none for another text.
inline std::optional<Verdict> VerdictOfText(QStringView text) {
    for (const Verdict verdict : {Verdict::Correcta, Verdict::Incorrecta, Verdict::Pendiente}) {
        if (text == VerdictText(verdict))
            return verdict;
    }
    return std::nullopt;
}
