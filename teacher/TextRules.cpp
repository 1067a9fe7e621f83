#include "teacher/TextRules.h"

#include "lesson/Marks.h"
#include "lesson/TextMarkers.h"
#include "platform/core/ToolkitError.h"
#include "teacher/MarkerSlips.h"

namespace {

using Severity = Problem::Severity;

// ".sección" in any letter case somewhere in the text, with the blanks and digits after it.
struct Occurrence {
    int position = 0;
    int blanks = 0;
    QString digits;
    int number() const { return digits.left(9).toInt(); }
    int length() const { return int(MarkerWord().size()) + blanks + int(digits.size()); }
};

QList<Occurrence> occurrences(const QString& text) {
    QList<Occurrence> found;
    qsizetype at = text.indexOf(MarkerWord(), 0, Qt::CaseInsensitive);
    while (at >= 0) {
        Occurrence o;
        o.position = int(at);
        qsizetype i = at + MarkerWord().size();
        while (i < text.size() && text.at(i) == u' ')
            ++i;
        o.blanks = int(i - at - MarkerWord().size());
        while (i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9')
            o.digits += text.at(i++);
        if (!o.digits.isEmpty())
            found.append(o);
        at = text.indexOf(MarkerWord(), at + 1, Qt::CaseInsensitive);
    }
    return found;
}

QString quoted(const QString& text) {
    return u'«' + text + u'»';
}

// Where a marker of the given length stands among the display lines.
enum class Place { LineStart, Indented, MidLine, Split };

Place placeOf(const LessonText& text, int position, int length) {
    const int line = text.lineOf(position);
    const int start = text.lineStarts.value(line);
    const int end = start + int(text.lines.value(line).size());
    if (position + length > end && position < end)
        return Place::Split;
    if (position == start)
        return Place::LineStart;
    return text.text.mid(start, position - start).trimmed().isEmpty() ? Place::Indented
                                                                      : Place::MidLine;
}

// Lines that would be markers but for the missing accent, ".Seccion 2": line -> number.
QMap<int, int> unaccentedMarkers(const LessonText& text) {
    QMap<int, int> found;
    for (int i = 0; i < text.lines.size(); ++i) {
        const MarkerSlip slip = markerSlip(text.lines[i], true);
        if (slip.matches && slip.accentMissing)
            found.insert(i, slip.value());
    }
    return found;
}

} // namespace

TextFacts checkText(const LessonText& text, const QString& path, QList<Problem>& problems) {
    TextFacts facts;
    auto add = [&](Severity severity, int line, const QString& message) {
        problems.append({severity, path, line + 1, message});
    };

    facts.lastMarker = LastMarkerLine(int(text.lines.size()), [&](int i) { return text.lines[i]; });
    const QList<Occurrence> all = occurrences(text.text);
    const QMap<int, int> typos = unaccentedMarkers(text);
    auto typoMessage = [&](int line, int n) {
        return QStringLiteral("la marca %1 no se reconoce: falta la tilde de «Sección»; el alumno "
                              "no llega a la sección %2")
            .arg(quoted(text.lines.value(line).trimmed()))
            .arg(n);
    };
    // A marker that the student reaches, written in a way that the last marker, the one that gives
    // the count, must not be.
    auto noteUnlikeTheLast = [&](int line, int length, int n) {
        const QString& written = text.lines.value(line);
        if (!IsMarkerLine(written))
            add(Severity::Nota, line,
                QStringLiteral("la marca de la sección %1 lleva la «Ó» mayúscula: el alumno llega "
                               "a ella, pero como última marca no contaría las secciones")
                    .arg(n));
        const QString after = written.mid(length);
        if (!after.isEmpty() && !after.at(0).isDigit())
            add(Severity::Nota, line,
                QStringLiteral("la marca de la sección %1 lleva %2 tras el número: el alumno "
                               "llega a ella, pero con eso la última marca no abriría la lección")
                    .arg(n)
                    .arg(quoted(after)));
    };

    if (facts.lastMarker < 0) {
        add(Severity::Error, -1,
            QStringLiteral("el texto no tiene ninguna marca %1 al principio de una línea: el "
                           "alumno no verá ninguna sección")
                .arg(quoted(kSectionHeaderText + u'N')));
        facts.sections = 0;
    } else {
        const QString& last = text.lines[facts.lastMarker];
        try {
            facts.sections = MarkerNumber(last);
        } catch (const ToolkitError& e) {
            add(Severity::Error, facts.lastMarker,
                QStringLiteral("la última marca, %1, no da el número de secciones: el programa "
                               "del alumno dice %2 y no abre la lección")
                    .arg(quoted(last), quoted(e.message())));
            return facts;
        }
        // What the teacher wrote after the word, all of it, against the three characters read.
        const QString written = last.mid(MarkerWord().size()).trimmed();
        qsizetype digits = 0;
        while (digits < written.size() && written.at(digits).isDigit())
            ++digits;
        if (facts.sections <= 0) {
            add(Severity::Error, facts.lastMarker,
                QStringLiteral("la última marca, %1, da %2 secciones: el alumno no verá ninguna")
                    .arg(quoted(last))
                    .arg(facts.sections));
            facts.sections = 0;
        } else if (facts.sections > 99 || written.left(digits) != QString::number(facts.sections)) {
            add(Severity::Aviso, facts.lastMarker,
                QStringLiteral("la última marca, %1, se lee como %2 secciones: se cuentan como "
                               "mucho 99, con uno o dos dígitos")
                    .arg(quoted(last))
                    .arg(facts.sections));
        }
    }

    // Every counted section must be found where it begins, as ".Sección N" with one blank.
    for (int n = 1; n <= facts.sections; ++n) {
        const int first = FindSectionMarker(text.text, n);
        if (first < 0 && typos.key(n, -1) >= 0) {
            add(Severity::Error, typos.key(n), typoMessage(typos.key(n), n));
            continue;
        }
        if (first < 0) {
            const Occurrence* near = nullptr;
            for (const Occurrence& o : all) {
                if (o.number() == n) {
                    near = &o;
                    break;
                }
            }
            if (near)
                add(Severity::Error, text.lineOf(near->position),
                    QStringLiteral("el alumno no llega a la sección %1: su marca lleva %2 blancos "
                                   "entre %3 y el número, y debe llevar uno")
                        .arg(n)
                        .arg(near->blanks)
                        .arg(quoted(kSectionHeaderText.trimmed())));
            else
                add(Severity::Error, facts.lastMarker,
                    QStringLiteral("la sección %1 no tiene marca en el texto, pero esta última "
                                   "marca cuenta %2 secciones: el alumno no llega a ella")
                        .arg(n)
                        .arg(facts.sections));
            continue;
        }
        const int line = text.lineOf(first);
        facts.markerLines.insert(n, line);
        const int length = int(SectionHeader(n).size());
        switch (placeOf(text, first, length)) {
        case Place::Split:
            add(Severity::Error, line,
                QStringLiteral("la marca de la sección %1 queda partida en dos líneas al ajustar "
                               "el texto al ancho de la ventana del alumno")
                    .arg(n));
            break;
        case Place::Indented:
            add(Severity::Aviso, line,
                QStringLiteral("la marca de la sección %1 no empieza la línea: lleva blancos "
                               "delante, y así no cuenta para el número de secciones")
                    .arg(n));
            break;
        case Place::MidLine:
            add(Severity::Error, line,
                QStringLiteral("la primera %1 del texto está en medio de esta línea: el "
                               "alumno saltará aquí y no al principio de la sección")
                    .arg(quoted(SectionHeader(n))));
            break;
        case Place::LineStart:
            if (line != facts.lastMarker)
                noteUnlikeTheLast(line, length, n);
            break;
        }
    }

    // Markers past the count: the student never sees their sections.
    QList<int> reported;
    const int lastStart = facts.lastMarker >= 0 ? text.lineStarts.value(facts.lastMarker) : -1;
    for (const Occurrence& o : all) {
        if (o.number() <= facts.sections || o.position == lastStart ||
            reported.contains(o.number()))
            continue;
        reported.append(o.number());
        const int line = text.lineOf(o.position);
        QString why;
        switch (placeOf(text, o.position, o.length())) {
        case Place::Split:
            why = QStringLiteral("su marca queda partida en dos líneas");
            break;
        case Place::Indented:
            why = QStringLiteral("su marca lleva blancos delante");
            break;
        case Place::MidLine:
            why = QStringLiteral("su marca no empieza la línea");
            break;
        case Place::LineStart:
            why = IsMarkerLine(text.lines.value(line))
                      ? QStringLiteral("una marca posterior da menos secciones")
                      : QStringLiteral("su marca lleva mayúsculas acentuadas");
            break;
        }
        add(Severity::Error, line,
            QStringLiteral("la sección %1 no se cuenta: %2; el número de secciones lo da la última "
                           "marca al principio de una línea")
                    .arg(o.number())
                    .arg(why) +
                (facts.lastMarker >= 0 ? QStringLiteral(", la de la línea %1, y es %2")
                                             .arg(facts.lastMarker + 1)
                                             .arg(facts.sections)
                                       : QString()));
    }

    // Unaccented markers of sections past the count, or of sections found elsewhere.
    for (auto it = typos.begin(); it != typos.end(); ++it) {
        if (it.value() > facts.sections)
            add(Severity::Error, it.key(), typoMessage(it.key(), it.value()));
        else if (facts.markerLines.contains(it.value()))
            add(Severity::Aviso, it.key(),
                QStringLiteral("la línea %1 parece una marca sin la tilde de «Sección»; la "
                               "sección %2 tiene su marca en la línea %3")
                    .arg(quoted(text.lines.value(it.key()).trimmed()))
                    .arg(it.value())
                    .arg(facts.markerLines.value(it.value()) + 1));
    }

    // Marker lines out of order: a slip in the numbering, most likely.
    int previous = 0;
    for (int i = 0; i < text.lines.size(); ++i) {
        if (!IsMarkerLine(text.lines[i]))
            continue;
        const QString rest = text.lines[i].mid(MarkerWord().size()).trimmed();
        qsizetype digits = 0;
        while (digits < rest.size() && rest.at(digits).isDigit())
            ++digits;
        const int number = rest.left(std::min<qsizetype>(digits, 9)).toInt();
        if (number > 0 && number <= previous)
            add(Severity::Aviso, i,
                QStringLiteral("la marca de la sección %1 viene después de la de la sección %2: "
                               "las marcas van en orden")
                    .arg(number)
                    .arg(previous));
        previous = std::max(previous, number);
    }
    return facts;
}
