#include "teacher/editor/KeyDocument.h"

#include "platform/core/RegularFile.h"

#include <QCryptographicHash>
#include <QDir>

namespace {

QByteArray digestOf(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

// Empty when there is no file to read.
QByteArray digestOfFile(const QString& path) {
    QByteArray bytes;
    QString reason;
    return ReadRegularFile(path, bytes, reason) ? digestOf(bytes) : QByteArray();
}

} // namespace

KeyDocument::KeyDocument(QObject* parent) : QObject(parent) {}

bool KeyDocument::open(const QString& path, QString& failure) {
    QByteArray bytes;
    QString reason;
    if (!ReadRegularFile(path, bytes, reason)) {
        failure = QStringLiteral("No se puede abrir la clave %1: %2")
                      .arg(QDir::toNativeSeparators(path), reason);
        return false;
    }
    readOnly_ = false;
    load(readKeyText(bytes), path);
    diskDigest_ = digestOf(bytes);
    unsaved_ = false;
    return true;
}

void KeyDocument::showPublished(const QString& path, const QStringList& lines) {
    KeyText text;
    text.lines = lines;
    text.ends.fill(KeyText::LineEnd::CrLf, text.lines.size());
    readOnly_ = true;
    load(text, path);
    diskDigest_.clear();
    unsaved_ = false;
}

void KeyDocument::startNew(const QString& path, const QStringList& lines) {
    KeyText text;
    text.lines = lines;
    for (qsizetype i = 0; i < lines.size(); ++i)
        text.ends.append(KeyText::LineEnd::CrLf);
    readOnly_ = false;
    load(text, path);
    diskDigest_ = digestOfFile(path);
    unsaved_ = true;
}

void KeyDocument::load(const KeyText& text, const QString& path) {
    history_.clear();
    text_ = text;
    path_ = path;
    structure_ = readKeyStructure(text_.lines);
    emit reset();
    emit historyChanged();
}

void KeyDocument::edit(const LineEdit& edit, bool typing) {
    if (readOnly_ || (edit.removed == 0 && edit.inserted.isEmpty()))
        return;
    if (edit.removed == 1 && edit.inserted.size() == 1 &&
        text_.lines.value(edit.start) == edit.inserted.first())
        return;
    LineStep step;
    step.start = edit.start;
    step.removed = text_.lines.mid(edit.start, edit.removed);
    step.removedEnds = text_.ends.mid(edit.start, edit.removed);
    step.inserted = edit.inserted;
    // A line written over keeps its own break; lines added take the file's.
    step.insertedEnds = step.removedEnds.first(qMin(step.removedEnds.size(), edit.inserted.size()));
    while (step.insertedEnds.size() < step.inserted.size())
        step.insertedEnds.append(text_.newLineEnd());
    step.typing = typing;
    replace(step.start, int(step.removed.size()), step.inserted, step.insertedEnds);
    history_.record(step);
    emit historyChanged();
}

// Undo gives back the lines with their own breaks, so that saving after it writes the bytes the
// file had.
void KeyDocument::undo() {
    if (const std::optional<LineStep> step = history_.undo()) {
        replace(step->start, int(step->inserted.size()), step->removed, step->removedEnds);
        emit historyChanged();
    }
}

void KeyDocument::redo() {
    if (const std::optional<LineStep> step = history_.redo()) {
        replace(step->start, int(step->removed.size()), step->inserted, step->insertedEnds);
        emit historyChanged();
    }
}

void KeyDocument::setLines(const QStringList& lines) {
    if (const std::optional<LineEdit> change = KeyEdits::difference(text_.lines, lines))
        edit(*change, true);
}

void KeyDocument::replace(int start, int removed, const QStringList& inserted,
                          const QList<KeyText::LineEnd>& ends) {
    text_.lines.remove(start, removed);
    text_.ends.remove(start, removed);
    for (qsizetype i = 0; i < inserted.size(); ++i) {
        text_.lines.insert(start + i, inserted[i]);
        text_.ends.insert(start + i, ends.value(i, text_.newLineEnd()));
    }
    structure_ = readKeyStructure(text_.lines);
    emit changed(start, removed, int(inserted.size()));
}

KeySaveResult KeyDocument::save() {
    if (readOnly_) {
        KeySaveResult refused;
        refused.failure = QStringLiteral("La clave publicada %1 no se guarda: es de solo lectura")
                              .arg(QDir::toNativeSeparators(path_));
        return refused;
    }
    KeySaveResult result = saveKey(text_, path_);
    if (result.saved) {
        history_.setClean();
        unsaved_ = false;
        diskDigest_ = digestOfFile(path_);
        emit historyChanged();
    }
    return result;
}

bool KeyDocument::changedOnDisk() const {
    return !readOnly_ && digestOfFile(path_) != diskDigest_;
}
