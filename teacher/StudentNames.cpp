#include "teacher/StudentNames.h"

#include "platform/core/AtomicFile.h"
#include "platform/core/FolderFile.h"
#include "platform/core/RegularFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

namespace {

const QString kGroup = QStringLiteral("uniones");

} // namespace

QString StudentNames::shownName(const QString& typed) const {
    const QString trimmed = typed.trimmed();
    return joins_.value(trimmed.toCaseFolded(), trimmed);
}

QString StudentNames::id(const QString& typed) const {
    return shownName(typed).toCaseFolded();
}

void StudentNames::join(const QString& name, const QString& student) {
    const QString from = name.trimmed().toCaseFolded();
    const QString to = shownName(student);
    // Whatever stood for name now stands for the student too.
    for (auto it = joins_.begin(); it != joins_.end(); ++it) {
        if (it->toCaseFolded() == from)
            *it = to;
    }
    if (to.toCaseFolded() == from)
        joins_.remove(from);
    else
        joins_.insert(from, to);
    joins_.remove(to.toCaseFolded());
}

void StudentNames::separate(const QString& student) {
    const QString id = student.trimmed().toCaseFolded();
    joins_.removeIf([&](const auto& it) { return it.value().toCaseFolded() == id; });
}

bool StudentNames::load(const QString& path, QString& failure) {
    joins_.clear();
    if (!QFileInfo::exists(path) && !IsLink(path))
        return true;
    // The file sits in the class folder: read once, as a regular file of a sane size (never a
    // link, never a FIFO that would block), and handed to QSettings as a copy of its own.
    constexpr qint64 kLargestJoins = 4 * 1024 * 1024;
    const QTemporaryDir scratch;
    const QString copy = scratch.filePath(QStringLiteral("alumnos.ini"));
    QByteArray bytes;
    QString reason;
    if (!ReadRegularFile(path, bytes, reason, kLargestJoins) || !scratch.isValid() ||
        !WriteFileAtomically(copy, bytes, reason)) {
        failure = QStringLiteral("No se puede leer el archivo de alumnos %1: %2").arg(path, reason);
        return false;
    }
    QSettings file(copy, QSettings::IniFormat);
    if (file.status() != QSettings::NoError) {
        failure = QStringLiteral("No se puede leer el archivo de alumnos %1").arg(path);
        return false;
    }
    const int count = file.beginReadArray(kGroup);
    for (int i = 0; i < count; ++i) {
        file.setArrayIndex(i);
        const QString name = file.value(QStringLiteral("nombre")).toString().trimmed();
        const QString student = file.value(QStringLiteral("alumno")).toString().trimmed();
        if (!name.isEmpty() && !student.isEmpty())
            join(name, student);
    }
    file.endArray();
    return true;
}

bool StudentNames::save(const QString& path, QString& failure) const {
    failure = QStringLiteral("No se puede guardar el archivo de alumnos %1").arg(path);
    // QSettings writes the file (keeping any other group in it) as a draft in a scratch folder;
    // the draft, read back whole, then takes the file's place in one atomic write.
    const QTemporaryDir scratch;
    const QString draft = scratch.filePath(QStringLiteral("alumnos.ini"));
    QByteArray bytes;
    QString reason;
    if (!scratch.isValid() ||
        (QFileInfo::exists(path) &&
         (!ReadRegularFile(path, bytes, reason) || !WriteFileAtomically(draft, bytes, reason))))
        return false;
    {
        QSettings file(draft, QSettings::IniFormat);
        file.remove(kGroup);
        file.beginWriteArray(kGroup, int(joins_.size()));
        QStringList names = joins_.keys();
        names.sort();
        for (int i = 0; i < names.size(); ++i) {
            file.setArrayIndex(i);
            file.setValue(QStringLiteral("nombre"), names[i]);
            file.setValue(QStringLiteral("alumno"), joins_.value(names[i]));
        }
        file.endArray();
        file.sync();
        if (file.status() != QSettings::NoError)
            return false;
    }
    StudentNames written;
    if (!written.load(draft, reason) || written.joins_ != joins_ ||
        !ReadRegularFile(draft, bytes, reason))
        return false;
    if (!WriteFileAtomically(path, bytes, failure))
        return false;
    failure.clear();
    return true;
}

QString JoinsFile(const QString& folder, const QString& chosen) {
    return chosen.isEmpty() ? QDir(folder).filePath(kJoinsFileName) : chosen;
}

QString PlainName(const QString& name) {
    const QString split = name.trimmed().toCaseFolded().normalized(QString::NormalizationForm_D);
    QString plain;
    plain.reserve(split.size());
    for (const QChar c : split) {
        if (c.category() != QChar::Mark_NonSpacing)
            plain.append(c);
    }
    return plain;
}

QList<LikelyMatch> LikelyMatches(const QStringList& names) {
    QList<LikelyMatch> matches;
    QStringList plain;
    for (const QString& name : names)
        plain.append(PlainName(name));
    for (int i = 0; i < names.size(); ++i) {
        for (int j = i + 1; j < names.size(); ++j) {
            const QString& a = plain[i];
            const QString& b = plain[j];
            if (a.isEmpty() || b.isEmpty())
                continue;
            if (a == b || a.startsWith(b) || b.startsWith(a))
                matches.append({names[i], names[j]});
        }
    }
    return matches;
}
