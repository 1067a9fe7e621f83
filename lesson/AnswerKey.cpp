#include "lesson/AnswerKey.h"

#include "lesson/LessonFiles.h"
#include "lesson/OnePublication.h"
#include "lesson/PublishedKey.h"
#include "platform/core/ToolkitError.h"

std::unique_ptr<TextList> Clave;

namespace {

SealedKey& settings() {
    static SealedKey read;
    return read;
}

// The queries run only while the lesson window holds a key; before the key exists they behave as
// for an empty one, so a slip in the window's order gives the list's error, not a crash.
const TextList& key() {
    static const TextList empty;
    return Clave ? *Clave : empty;
}

} // namespace

void LoadKey(const QString& path) {
    if (!Clave)
        Clave = std::make_unique<TextList>();
    Clave->clear();
    settings() = SealedKey();
    const QString found = KeyFileToRead(path);
    SealedKey read;
    try {
        read = ReadSealedKey(found);
    } catch (const ToolkitError&) {
        // A published key's refusal names the published file, which is what the student cannot
        // read; otherwise the message names the key as the lesson names it.
        if (IsPublishedKey(found))
            throw;
        throw ToolkitError::cannotOpenFile(path);
    }
    Clave->loadFromBytes(read.key, TextList::Encoding::Teacher);
    AddSentinels(*Clave);
    read.key.clear();
    settings() = read;
}

const SealedKey& KeySettings() {
    return settings();
}

void RequireOnePublication(const QString& readingPath, const QByteArray& digestBefore) {
    const SealedKey& key = settings();
    if (ReadingFitsKey(digestBefore, key) && ReadingFitsKey(ReadingDigestAt(readingPath), key))
        return;
    if (Clave)
        Clave->clear();
    settings() = SealedKey();
    throw ToolkitError(QStringLiteral("La lección se está publicando en este momento: ciérrela "
                                      "y vuelva a abrirla dentro de un momento. Si el aviso sigue, "
                                      "dígaselo a su profesor."));
}

int FindSection(const QString& header) {
    return FindSection(key(), header);
}

int ContarMarcas(const QString& marker, int from) {
    return ContarMarcas(key(), marker, from);
}

int BuscarLineaDePregunta(int n, int sectionLine) {
    return BuscarLineaDePregunta(key(), n, sectionLine);
}

QString QuestionText(int questionLine) {
    return QuestionText(key(), questionLine);
}

QString AnswerText(int k, int questionLine) {
    return AnswerText(key(), k, questionLine);
}

Judgment Judge(int k, int questionLine) {
    return Judge(key(), k, questionLine);
}
