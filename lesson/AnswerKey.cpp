#include "lesson/AnswerKey.h"

#include "lesson/LessonFiles.h"
#include "lesson/PublishedKey.h"
#include "platform/core/ToolkitError.h"

std::unique_ptr<TextList> Clave;

namespace {

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
    const QString found = KeyFileToRead(path);
    if (IsPublishedKey(found)) {
        // Its refusal names the published file, which is what the student cannot read.
        Clave->loadFromBytes(ReadPublishedKey(found), TextList::Encoding::Teacher);
    } else {
        try {
            Clave->loadFromFile(found, TextList::Encoding::Teacher);
        } catch (const ToolkitError&) {
            // The message names the key as the lesson names it, whichever file was tried.
            throw ToolkitError::cannotOpenFile(path);
        }
    }
    AddSentinels(*Clave);
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
