#include "commandline/GiftCommands.h"

#include "commandline/Usage.h"
#include "lesson/LessonFiles.h"
#include "lesson/LessonPlace.h"
#include "lesson/PublishedKey.h"
#include "platform/core/Ansi.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/RegularFile.h"
#include "platform/core/TextList.h"
#include "platform/core/ToolkitError.h"
#include "teacher/Publication.h"
#include "teacher/Words.h"
#include "teacher/editor/KeySave.h"
#include "teacher/editor/Questions.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace {

// Exit statuses of both verbs.
constexpr int kDone = status(Exit::Done);
constexpr int kMalformed = status(Exit::Findings);    // the questions' file has an error
constexpr int kRefused = status(Exit::Unreadable);    // an input unreadable, or a key already there
constexpr int kNotWritten = status(Exit::NotWritten); // any old file is as it was
constexpr int kWrongCall = status(Exit::WrongCall);

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Parses the verb's arguments; false (with the message written) when they are wrong or --help
// was asked, status telling which.
bool parse(QCommandLineParser& parser, const QString& verb, const QStringList& arguments,
           int positional, const QString& usage, const VerbHelp& help, QTextStream& out,
           QTextStream& err, int& exitStatus) {
    if (const std::optional<int> done = ParseArguments(parser, verb, arguments, help, out, err)) {
        exitStatus = *done;
        return false;
    }
    if (parser.positionalArguments().size() != positional) {
        exitStatus = UsageError(err, verb, QStringLiteral("se espera %1").arg(usage));
        return false;
    }
    return true;
}

bool readBytes(const QString& path, QByteArray& bytes, QString& reason) {
    return ReadRegularFile(path, bytes, reason);
}

} // namespace

QString GiftCommand::name() const {
    return QStringLiteral("gift");
}

QString GiftCommand::description() const {
    return QStringLiteral("Exporta la clave de una lección a GIFT, para Moodle.");
}

VerbHelp GiftCommand::help() const {
    return {
        QStringLiteral("dorvalia-docente gift RUTA_lec.rtf SALIDA.gift"),
        QStringLiteral(
            "Escribe las preguntas de la clave de la lección (su archivo _CRJ.TXT) en formato\n"
            "GIFT, en UTF-8, para importarlas en Moodle. No se exporta desde la clave publicada\n"
            "(_CRJ.dvk): hace falta la clave sin proteger. Antes de las preguntas de cada sección\n"
            "va la línea «$CATEGORY: Sección N». Una respuesta con juicio pendiente (ni «.b» ni\n"
            "«.m») pasa a ser incorrecta, con un 0 %; se dice cuántas. Varias respuestas\n"
            "correctas de una pregunta se reparten la nota («~%50%»). Las preguntas sin\n"
            "respuestas, y las que ningún alumno encuentra, no se exportan; se dice cuántas.\n"),
        {{Exit::Done, QStringLiteral("exportada")},
         {Exit::Unreadable, QStringLiteral("no se puede leer la clave")},
         {Exit::NotWritten, QStringLiteral("no se ha podido escribir la salida (si ya existía, "
                                           "queda como estaba)")},
         {Exit::WrongCall, QStringLiteral("faltan o sobran argumentos")}},
        {},
    };
}

int GiftCommand::execute(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    int exitStatus = kDone;
    if (!parse(parser, name(), arguments, 2, QStringLiteral("RUTA_lec.rtf SALIDA.gift"), help(),
               out, err, exitStatus))
        return exitStatus;
    const LessonPlace lesson = LessonPlace::ofReading(parser.positionalArguments().at(0));
    const QString keyPath = lesson.keyPath();
    const QString output = parser.positionalArguments().at(1);
    QStringList lines;
    const QString found = lesson.keyToRead();
    if (IsPublishedKey(found)) {
        // The class's copy is on every student's computer: no answers come out of it.
        err << QStringLiteral("dorvalia-docente gift: %1.\n")
                   .arg(AnswersNeedPlainKey(found, keyPath));
        return kRefused;
    }
    QByteArray bytes;
    QString reason;
    if (!readBytes(found, bytes, reason)) {
        err << QStringLiteral("dorvalia-docente gift: no se puede leer la clave %1: %2\n")
                   .arg(native(keyPath), reason);
        return kRefused;
    }
    TextList key;
    key.loadFromBytes(bytes, TextList::Encoding::Teacher);
    lines = key.lines();
    const GiftExport gift = writeGift(lines);
    QString failure;
    if (!WriteFileAtomically(output, gift.text.toUtf8(), failure)) {
        err << QStringLiteral("dorvalia-docente gift: %1\n").arg(failure);
        return kNotWritten;
    }
    for (const QString& note : exportNotes(gift, output))
        out << note << u'\n';
    return kDone;
}

QString FromGiftCommand::name() const {
    return QStringLiteral("desde-gift");
}

QString FromGiftCommand::description() const {
    return QStringLiteral("Escribe una clave con preguntas de Moodle (GIFT o Aiken).");
}

VerbHelp FromGiftCommand::help() const {
    return {
        QStringLiteral("dorvalia-docente desde-gift ENTRADA.gift NOMBRE_CRJ.TXT [--reemplazar]"),
        QStringLiteral(
            "Lee las preguntas de opción múltiple de un archivo de Moodle, en formato GIFT o\n"
            "Aiken, y escribe con ellas la clave NOMBRE_CRJ.TXT (dada la lectura NOMBRE_lec.rtf,\n"
            "la clave que está a su lado; otro archivo no se escribe). Cada pregunta va a la "
            "sección\n"
            "que nombra su «$CATEGORY: Sección N»; sin categoría, a la sección 1 (se dice la\n"
            "línea de cada categoría que no nombra ninguna sección). Una respuesta con nota\n"
            "positiva es correcta; con nota nula o negativa, incorrecta. Las de verdadero o\n"
            "falso tienen dos respuestas, «Verdadero» y «Falso». El texto en HTML o Markdown\n"
            "queda como texto sin formato. Las preguntas de otros tipos (respuesta corta,\n"
            "emparejamiento...) no se importan; se nombran con su título y su línea. Un\n"
            "archivo con un error no escribe nada.\n"),
        {{Exit::Done, QStringLiteral("clave escrita")},
         {Exit::Findings,
          QStringLiteral("el archivo de preguntas tiene un error (se dice en qué línea)")},
         {Exit::Unreadable, QStringLiteral("no se puede leer la entrada, o la clave ya existe")},
         {Exit::NotWritten, QStringLiteral("no se ha podido escribir la clave (la anterior, si "
                                           "la había, queda como estaba)")},
         {Exit::WrongCall, QStringLiteral("faltan o sobran argumentos, o la salida no es una "
                                          "clave ni una lectura")}},
        {{QStringLiteral("reemplazar"), QString(),
          QStringLiteral("Reemplaza la clave si ya existe (las anteriores quedan como .bak, "
                         ".bak2 y .bak3).")}},
    };
}

int FromGiftCommand::execute(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    const QString replace = QStringLiteral("reemplazar");
    int exitStatus = kDone;
    if (!parse(parser, name(), arguments, 2,
               QStringLiteral("ENTRADA.gift NOMBRE_CRJ.TXT [--reemplazar]"), help(), out, err,
               exitStatus))
        return exitStatus;
    const QString input = parser.positionalArguments().at(0);
    // The other verbs take the reading's path: given here, it names the key beside it. Any other
    // file is refused, so that --reemplazar never writes a key over a reading or a document.
    QString keyPath = parser.positionalArguments().at(1);
    if (keyPath.endsWith(kLessonTextSuffix, Qt::CaseInsensitive)) {
        keyPath = LessonPlace::ofReading(keyPath).keyPath();
    } else if (!keyPath.endsWith(kKeySuffix, Qt::CaseInsensitive)) {
        err << QStringLiteral("dorvalia-docente desde-gift: %1 no es una clave (NOMBRE_CRJ.TXT) "
                              "ni una lectura (NOMBRE_lec.rtf); no se ha escrito nada.\n")
                   .arg(native(keyPath));
        return kWrongCall;
    }
    QByteArray bytes;
    QString reason;
    if (!readBytes(input, bytes, reason)) {
        err << QStringLiteral("dorvalia-docente desde-gift: no se puede leer %1: %2\n")
                   .arg(native(input), reason);
        return kRefused;
    }
    const ImportResult questions = readQuestions(decodeTeacherText(bytes));
    if (!questions.failure.isEmpty()) {
        err << QStringLiteral("dorvalia-docente desde-gift: %1: %2. No se ha escrito nada.\n")
                   .arg(native(input), questions.failure);
        return kMalformed;
    }
    if (QFileInfo::exists(keyPath) && !parser.isSet(replace)) {
        err << QStringLiteral("dorvalia-docente desde-gift: la clave %1 ya existe; para "
                              "reemplazarla, añada --reemplazar.\n")
                   .arg(native(keyPath));
        return kRefused;
    }
    KeyText key;
    key.lines = withQuestions({}, questions.questions, 1);
    for (qsizetype i = 0; i < key.lines.size(); ++i)
        key.ends.append(KeyText::LineEnd::CrLf);
    const KeySaveResult saved = saveKey(key, keyPath);
    if (!saved.saved) {
        err << QStringLiteral("dorvalia-docente desde-gift: %1\n").arg(saved.failure);
        return kNotWritten;
    }
    out << CountedSentence(questions.questions.size(),
                           QStringLiteral("1 pregunta escrita en %2.\n"),
                           QStringLiteral("%1 preguntas escritas en %2.\n"))
               .arg(native(keyPath));
    for (const QString& note : importNotes(questions))
        out << note << u'\n';
    if (!saved.notice.isEmpty())
        out << saved.notice << u'\n';
    return kDone;
}
