#include "teacher/editor/KeySession.h"

#include "lesson/KeyPositions.h"
#include "lesson/PublishedKey.h"
#include "platform/core/ToolkitError.h"
#include "teacher/PlainCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

KeyFinding FindKey(const QString& readingPath) {
    KeyFinding finding;
    finding.lesson = LessonPlace::ofReading(readingPath);
    // A key named in other letter case is the one the student's program reads: it is edited and
    // saved under its own name, never shadowed by a new key beside it.
    const QString found = finding.lesson.keyToRead();
    if (IsPublishedKey(found))
        finding.kind = KeyFinding::Published;
    else if (QFileInfo::exists(found))
        finding.kind = KeyFinding::Plain;
    finding.keyFile = found;
    return finding;
}

bool KeySession::canRead(const KeyFinding& finding, QString& failure) {
    if (finding.kind == KeyFinding::Published) {
        try {
            ReadPublishedKey(finding.keyFile);
        } catch (const ToolkitError& e) {
            failure = e.spanish();
            return false;
        }
        return true;
    }
    QFile key(finding.keyFile);
    if (!key.open(QIODevice::ReadOnly)) {
        failure = QStringLiteral("No se puede abrir la clave %1: %2")
                      .arg(QDir::toNativeSeparators(finding.keyFile), key.errorString());
        return false;
    }
    return true;
}

bool KeySession::open(const KeyFinding& finding, QString& failure) {
    if (finding.kind == KeyFinding::Published) {
        QStringList lines;
        try {
            lines = ReadPublishedKeyLines(finding.keyFile);
        } catch (const ToolkitError& e) {
            failure = e.spanish();
            return false;
        }
        document_->showPublished(finding.keyFile, lines);
    } else if (!document_->open(finding.keyFile, failure)) {
        return false;
    }
    lesson_ = finding.lesson;
    return true;
}

void KeySession::startNew(const LessonPlace& lesson, const QList<int>& sections) {
    QStringList lines;
    for (int number : sections)
        lines.append(SectionHeader(number));
    lesson_ = lesson;
    document_->startNew(lesson.keyPath(), lines);
}

KeySaveResult KeySession::save() {
    return document_->save();
}

QString KeySession::copyPublished(const QString& folder) const {
    return savePlainCopy(lesson_.readingPath(), document_->path(), folder);
}
