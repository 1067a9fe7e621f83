#include "GiftCommands.h"

#include "Ansi.h"
#include "KeySave.h"
#include "LessonPlace.h"
#include "PublishedKey.h"
#include "Questions.h"
#include "TextList.h"
#include "ToolkitError.h"
#include "Usage.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// Exit statuses of both verbs.
constexpr int kDone = 0;
constexpr int kMalformed = 1; // the questions' file has an error: nothing was written
constexpr int kRefused = 2;   // bad arguments, a file that cannot be read or written

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Parses the verb's arguments; false (with the message written) when they are wrong or --help
// was asked, status telling which.
bool parse(QCommandLineParser& parser, const QString& verb, const QStringList& arguments,
           int positional, const QString& usage, const QString& help, QTextStream& out,
           QTextStream& err, int& status) {
    if (const std::optional<int> done = ParseArguments(parser, verb, arguments, help, out, err)) {
        status = *done;
        return false;
    }
    if (parser.positionalArguments().size() != positional) {
        status = UsageError(err, verb, QStringLiteral("se espera %1").arg(usage));
        return false;
    }
    return true;
}

bool readBytes(const QString& path, QByteArray& bytes, QString& reason) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reason = file.errorString();
        return false;
    }
    bytes = file.readAll();
    return true;
}

} // namespace

QString GiftCommand::name() const {
    return QStringLiteral("gift");
}

QString GiftCommand::description() const {
    return QStringLiteral("Exporta la clave de una lección a GIFT, para Moodle.");
}

QString GiftCommand::help() {
    return QStringLiteral(
        "Uso: dorvalia-docente gift RUTA_lec.rtf SALIDA.gift\n"
        "\n"
        "Escribe las preguntas de la clave de la lección (su archivo _CRJ.TXT) en formato\n"
        "GIFT, en UTF-8, para importarlas en Moodle. Antes de las preguntas de cada sección\n"
        "va la línea «$CATEGORY: Sección N». Una respuesta con juicio pendiente (ni «.b» ni\n"
        "«.m») pasa a ser incorrecta, con un 0 %; se dice cuántas. Las preguntas sin\n"
        "respuestas, y las que ningún alumno encuentra, no se exportan; se dice cuántas.\n"
        "\n"
        "Estado de salida:\n"
        "  0  exportada;\n"
        "  2  no se puede leer la clave o escribir la salida.\n"
        "\n"
        "Opciones:\n"
        "  -h, --help  Muestra esta ayuda.\n");
}

int GiftCommand::execute(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    int status = kDone;
    if (!parse(parser, name(), arguments, 2, QStringLiteral("RUTA_lec.rtf SALIDA.gift"), help(),
               out, err, status))
        return status;
    const LessonPlace lesson = LessonPlace::ofReading(parser.positionalArguments().at(0));
    const QString keyPath = lesson.keyPath();
    const QString output = parser.positionalArguments().at(1);
    QStringList lines;
    const QString found = lesson.keyToRead();
    if (IsPublishedKey(found)) {
        // The lesson has only the class's copy of its key: the same lines.
        try {
            lines = ReadPublishedKeyLines(found);
        } catch (const ToolkitError& e) {
            err << QStringLiteral("dorvalia-docente gift: %1\n").arg(e.message());
            return kRefused;
        }
    } else {
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
    }
    const GiftExport gift = writeGift(lines);
    QSaveFile file(output);
    const QByteArray text = gift.text.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        err << QStringLiteral("dorvalia-docente gift: no se puede escribir %1: %2\n")
                   .arg(native(output), file.errorString());
        return kRefused;
    }
    out << QStringLiteral("%1 preguntas exportadas a %2.\n")
               .arg(gift.questions)
               .arg(native(output));
    if (gift.pendingAnswers > 0)
        out << QStringLiteral("%1 respuestas pendientes pasan a ser incorrectas (0 %) en Moodle.\n")
                   .arg(gift.pendingAnswers);
    if (gift.skippedQuestions > 0)
        out << QStringLiteral("%1 preguntas sin respuestas o fuera de toda sección no se "
                              "exportan.\n")
                   .arg(gift.skippedQuestions);
    if (gift.withoutWrongAnswer > 0)
        out << QStringLiteral(
                   "%1 preguntas no tienen ninguna respuesta incorrecta: Moodle las lee como "
                   "preguntas de respuesta corta.")
                   .arg(gift.withoutWrongAnswer)
            << u'\n';
    return kDone;
}

QString FromGiftCommand::name() const {
    return QStringLiteral("desde-gift");
}

QString FromGiftCommand::description() const {
    return QStringLiteral("Escribe una clave con preguntas de Moodle (GIFT o Aiken).");
}

QString FromGiftCommand::help() {
    return QStringLiteral(
        "Uso: dorvalia-docente desde-gift ENTRADA.gift NOMBRE_CRJ.TXT [--reemplazar]\n"
        "\n"
        "Lee las preguntas de opción múltiple de un archivo de Moodle, en formato GIFT o\n"
        "Aiken, y escribe con ellas la clave NOMBRE_CRJ.TXT. Cada pregunta va a la sección\n"
        "que nombra su «$CATEGORY: Sección N»; sin categoría, a la sección 1. Las\n"
        "preguntas de otros tipos (verdadero o falso, respuesta corta, emparejamiento...)\n"
        "no se importan; se dice cuántas. Un archivo con un error no escribe nada.\n"
        "\n"
        "Estado de salida:\n"
        "  0  clave escrita;\n"
        "  1  el archivo de preguntas tiene un error (se dice en qué línea);\n"
        "  2  no se puede leer la entrada o escribir la clave, o la clave ya existe.\n"
        "\n"
        "Opciones:\n"
        "  --reemplazar  Reemplaza la clave si ya existe (la anterior queda como .bak).\n"
        "  -h, --help    Muestra esta ayuda.\n");
}

int FromGiftCommand::execute(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    const QCommandLineOption replace(QStringLiteral("reemplazar"));
    parser.addOption(replace);
    int status = kDone;
    if (!parse(parser, name(), arguments, 2,
               QStringLiteral("ENTRADA.gift NOMBRE_CRJ.TXT [--reemplazar]"), help(), out, err,
               status))
        return status;
    const QString input = parser.positionalArguments().at(0);
    const QString keyPath = parser.positionalArguments().at(1);
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
        return kRefused;
    }
    out << QStringLiteral("%1 preguntas escritas en %2.\n")
               .arg(questions.questions.size())
               .arg(native(keyPath));
    if (questions.skipped > 0)
        out << QStringLiteral("%1 preguntas de otros tipos no se importan.\n")
                   .arg(questions.skipped);
    if (!saved.notice.isEmpty())
        out << saved.notice << u'\n';
    return kDone;
}
