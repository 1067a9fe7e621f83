#include "teacher/editor/KeyDocument.h"

#include "platform/core/RegularFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QUndoCommand>

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

constexpr int kTypingId = 1;

class LineCommand : public QUndoCommand {
public:
    LineCommand(KeyDocument* document, const LineEdit& edit, bool typing)
        : QUndoCommand(edit.label), document_(document), start_(edit.start),
          inserted_(edit.inserted), typing_(typing) {
        removedLines_ = document->lines().mid(edit.start, edit.removed);
        removedEnds_ = document->text().ends.mid(edit.start, edit.removed);
        // A line written over keeps its own break; lines added take the file's.
        insertedEnds_ = removedEnds_.first(qMin(removedEnds_.size(), inserted_.size()));
        while (insertedEnds_.size() < inserted_.size())
            insertedEnds_.append(document->text().newLineEnd());
    }

    void redo() override {
        document_->replace(start_, int(removedLines_.size()), inserted_, insertedEnds_);
    }
    // Undo gives back the lines with their own breaks, so that saving after it writes the bytes
    // the file had.
    void undo() override {
        document_->replace(start_, int(inserted_.size()), removedLines_, removedEnds_);
    }
    int id() const override { return typing_ ? kTypingId : -1; }

    // Letters typed into one line, one after the other, are one step.
    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const LineCommand*>(other);
        if (next->start_ != start_ || inserted_.size() != 1 || next->removedLines_.size() != 1 ||
            next->inserted_.size() != 1 || removedLines_.size() != 1)
            return false;
        inserted_ = next->inserted_;
        return true;
    }

private:
    KeyDocument* document_;
    int start_;
    QStringList removedLines_;
    QList<KeyText::LineEnd> removedEnds_;
    QStringList inserted_;
    QList<KeyText::LineEnd> insertedEnds_;
    bool typing_;
};

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
    undo_.clear();
    text_ = text;
    path_ = path;
    structure_ = readKeyStructure(text_.lines);
    emit reset();
}

void KeyDocument::edit(const LineEdit& edit, bool typing) {
    if (readOnly_ || (edit.removed == 0 && edit.inserted.isEmpty()))
        return;
    if (edit.removed == 1 && edit.inserted.size() == 1 &&
        text_.lines.value(edit.start) == edit.inserted.first())
        return;
    undo_.push(new LineCommand(this, edit, typing));
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
        undo_.setClean();
        unsaved_ = false;
        diskDigest_ = digestOfFile(path_);
    }
    return result;
}

bool KeyDocument::changedOnDisk() const {
    return !readOnly_ && digestOfFile(path_) != diskDigest_;
}
