#include "teacher/LessonCheck.h"

#include "lesson/LessonFiles.h"
#include "lesson/Marks.h"
#include "lesson/OnePublication.h"
#include "lesson/PublishedKey.h"
#include "platform/core/TextList.h"
#include "platform/core/ToolkitError.h"
#include "teacher/KeyRules.h"
#include "teacher/LessonPreview.h"
#include "teacher/NearestFile.h"
#include "teacher/TextRules.h"

#include <QFileInfo>

#include <algorithm>

int LessonReport::count(Problem::Severity severity) const {
    return int(std::count_if(problems.begin(), problems.end(),
                             [&](const Problem& p) { return p.severity == severity; }));
}

namespace {

using Severity = Problem::Severity;

void checkBoth(LessonReport& report, const TextFacts& text, const KeyFacts& key) {
    for (int n = 1; n <= text.sections; ++n) {
        if (key.headers.contains(n))
            continue;
        const int line = text.markerLines.value(n, text.lastMarker);
        report.problems.append(
            {Severity::Error, report.textPath, line + 1,
             QStringLiteral("la sección %1 no tiene encabezado «%2» en la clave: el alumno no "
                            "verá sus preguntas")
                 .arg(n)
                 .arg(SectionHeader(n))});
    }
    if (text.sections < 0)
        return;
    for (auto it = key.headers.begin(); it != key.headers.end(); ++it) {
        if (it.key() > text.sections)
            report.problems.append(
                {Severity::Aviso, report.keyPath, it.value() + 1,
                 QStringLiteral("el texto no tiene sección %1: nadie verá este encabezado ni sus "
                                "preguntas")
                     .arg(it.key())});
    }
}

// The text's problems, then the key's, each in line order.
void sortProblems(LessonReport& report) {
    std::stable_sort(report.problems.begin(), report.problems.end(),
                     [&](const Problem& a, const Problem& b) {
                         const bool aKey = a.file == report.keyPath && a.file != report.textPath;
                         const bool bKey = b.file == report.keyPath && b.file != report.textPath;
                         if (aKey != bKey)
                             return bKey;
                         return a.line < b.line;
                     });
}

} // namespace

LessonReport checkLesson(const QString& textPath, const LessonText& text, const QString& keyPath,
                         const QStringList& key) {
    LessonReport report;
    report.textPath = textPath;
    report.keyPath = keyPath;
    report.text = text;
    report.key = key;
    const TextFacts textFacts = checkText(text, textPath, report.problems);
    const KeyFacts keyFacts = checkKey(key, keyPath, report.problems);
    checkBoth(report, textFacts, keyFacts);
    report.pendingAnswers = keyFacts.pending;
    sortProblems(report);
    report.sections =
        previewSections(ReadAnswerKey(key), textFacts.sections, textFacts.markerLines);
    return report;
}

QString ReadingNameAdvice(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    return QStringLiteral("una lectura debe llamarse NOMBRE_lec.rtf, y «%1» no: cámbiele el "
                          "nombre a «%2»")
        .arg(name, ProperLessonTextName(name));
}

LessonReport checkLessonFiles(const QString& chosenPath, const TextReader& readText) {
    // Names as the student's program derives them, without touching its program-wide state.
    const LessonPlace lesson = LessonPlace::ofReading(chosenPath);
    const QString textPath = lesson.readingPath();
    const QString describedKey = lesson.keyPath();
    const QString keyPath = lesson.keyToRead();
    QList<Problem> unread;
    LessonText text;
    // Looked at before the text is read and again after the key, as the student's program does.
    const QByteArray readingBefore = ReadingDigestAt(textPath);
    try {
        text = readText(textPath);
        if (text.notRtf)
            unread.append({Severity::Error, textPath, 0,
                           QStringLiteral("no es un archivo RTF: guárdelo desde su procesador de "
                                          "textos como «Formato de texto enriquecido (.rtf)»")});
    } catch (const ToolkitError& e) {
        // "El_huerto.rtf" is read as the lesson «El»: when "El_lec.rtf" cannot be read, the
        // name, not a missing file, is what the teacher has to mend.
        if (!ProperLessonTextName(QFileInfo(chosenPath).fileName()).isEmpty()) {
            LessonReport report;
            report.textPath = chosenPath;
            report.unreadable = true;
            report.problems.append({Severity::Error, chosenPath, 0, ReadingNameAdvice(chosenPath)});
            return report;
        }
        unread.append({Severity::Error, textPath, 0,
                       QStringLiteral("no se puede leer el texto: %1").arg(e.spanish())});
    }
    QStringList key;
    QList<Problem> keyNote;
    try {
        const SealedKey sealed = ReadSealedKey(keyPath);
        TextList lines;
        lines.loadFromBytes(sealed.key, TextList::Encoding::Teacher);
        key = lines.lines();
        if (unread.isEmpty() && (!ReadingFitsKey(readingBefore, sealed) ||
                                 !ReadingFitsKey(ReadingDigestAt(textPath), sealed)))
            keyNote.append(
                {Severity::Error, textPath, 0, MismatchedPublication(textPath, keyPath)});
        if (IsPublishedKey(keyPath))
            keyNote.append(
                {Severity::Nota, keyPath, 0,
                 QStringLiteral("se lee la clave publicada %1, porque no hay ninguna %2: sus "
                                "líneas son las de la clave con la que se publicó")
                     .arg(u'«' + QFileInfo(keyPath).fileName() + u'»',
                          u'«' + QFileInfo(describedKey).fileName() + u'»')});
        else if (const QString hidden = PublishedKeyHiddenBy(describedKey); !hidden.isEmpty())
            keyNote.append(
                {Severity::Aviso, keyPath, 0,
                 QStringLiteral("junto a la clave publicada %1 está la clave sin proteger %2: el "
                                "programa del alumno lee esta en lugar de la publicada, y "
                                "cualquiera puede abrirla. Si la carpeta es la de la clase, "
                                "bórrela")
                     .arg(u'«' + QFileInfo(hidden).fileName() + u'»',
                          u'«' + QFileInfo(keyPath).fileName() + u'»')});
        if (!IsPublishedKey(keyPath) && keyPath != describedKey)
            // Windows does not tell the names apart, and the student's program opens it too.
            keyNote.append(
                {Severity::Nota, keyPath, 0,
                 QStringLiteral("se lee la clave %1, porque no hay ninguna %2: solo cambian "
                                "mayúsculas y minúsculas, y el programa del alumno la abre igual")
                     .arg(u'«' + QFileInfo(keyPath).fileName() + u'»',
                          u'«' + KeyName(lesson.name) + u'»')});
    } catch (const ToolkitError& e) {
        QString message = QStringLiteral("no se puede leer la clave: %1").arg(e.spanish());
        const QString nearest =
            IsPublishedKey(keyPath)
                ? QString()
                : nearestFileName(lesson.folder, KeyName(lesson.name), lesson.name);
        if (!nearest.isEmpty())
            message += QStringLiteral(". ¿Es %1?").arg(nearest);
        unread.append({Severity::Error, keyPath, 0, message});
    }
    if (unread.isEmpty()) {
        LessonReport report = checkLesson(textPath, text, keyPath, key);
        report.problems += keyNote;
        sortProblems(report);
        return report;
    }

    // What can be read is still checked on its own.
    LessonReport report;
    report.textPath = textPath;
    report.keyPath = keyPath;
    report.unreadable = true;
    report.problems = unread + keyNote;
    if (unread.size() == 1 && unread.first().file == keyPath) {
        report.text = text;
        checkText(text, textPath, report.problems);
    } else if (unread.size() == 1) {
        report.key = key;
        checkKey(report.key, keyPath, report.problems);
    }
    sortProblems(report);
    return report;
}
