// The teacher's whole round on a Spanish desktop: a key written through the editor's model,
// published for the class, three visits by the student's program run as processes, and then
// everything the teacher reads of them, made by the teacher's program under es_ES.UTF-8.
#include "teacher/editor/KeyDocument.h"
#include "teacher/editor/KeySession.h"
#include "tests/teacher/WorkbookParts.h"
#include "tests/windows/LessonFixture.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <clocale>

#include <gtest/gtest.h>

namespace {

const char* const kSpanish = "es_ES.UTF-8";

struct AnswerText {
    QString text;
    Verdict judgment;
    QString feedback;
};

// A question with its answers, written as the form writes them.
void writeQuestion(KeyDocument& key, int number, const QString& text,
                   const QList<AnswerText>& answers) {
    auto section = [&] {
        return key.structure().sections[key.structure().sectionNumbered(number)];
    };
    const int q = int(section().questions.size());
    key.edit(KeyEdits::addQuestion(section(), q - 1));
    key.edit(KeyEdits::setText(key.lines(), section().questions[q].line, text));
    for (int a = 0; a < answers.size(); ++a) {
        key.edit(KeyEdits::addAnswer(section().questions[q], a));
        key.edit(KeyEdits::setText(key.lines(), section().questions[q].answers[a].line,
                                   answers[a].text));
        key.edit(KeyEdits::setJudgment(key.lines(), section().questions[q].answers[a],
                                       answers[a].judgment));
        key.edit(KeyEdits::setFeedback(key.lines(), section().questions[q].answers[a],
                                       answers[a].feedback));
    }
}

// Runs a program to its end under the Spanish locale; what it printed, and its exit status.
QString run(const QString& program, const QStringList& args, const QString& data, int& status) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", data);
    env.insert("XDG_CONFIG_HOME", data);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("LANG", kSpanish);
    env.insert("LC_ALL", kSpanish);
    process.setProcessEnvironment(env);
    process.start(program, args);
    EXPECT_TRUE(process.waitForFinished(120000));
    status = process.exitCode();
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
}

// The XML parts of a workbook whose names match, joined.
QByteArray workbookParts(const QString& path, const QRegularExpression& names) {
    QByteArray joined;
    const QMap<QString, QByteArray> parts = WorkbookXmlParts(path);
    for (auto it = parts.begin(); it != parts.end(); ++it)
        if (names.match(it.key()).hasMatch())
            joined += it.value();
    return joined;
}

// The rows of a CSV file without quotes inside fields (what these lessons give), header first.
QList<QStringList> csvRows(const QString& path, QChar separator) {
    QString text = QString::fromUtf8(Fixture::readFile(path));
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QList<QStringList> rows;
    for (const QString& line : text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        QStringList fields = line.split(separator);
        for (QString& field : fields)
            if (field.startsWith(u'"') && field.endsWith(u'"'))
                field = field.mid(1, field.size() - 2);
        rows.append(fields);
    }
    return rows;
}

// The row's fields under the headers named, from a table whose first row is its header.
QStringList columns(const QList<QStringList>& rows, int row, const QStringList& headers) {
    QStringList values;
    for (const QString& header : headers)
        values.append(rows.value(row).value(rows.value(0).indexOf(header)));
    return values;
}

TEST(Round, FromTheEditorToTheWorkbookOnASpanishDesktop) {
    if (!std::setlocale(LC_ALL, kSpanish))
        GTEST_SKIP() << "the locale es_ES.UTF-8 is not on this machine (scripts/test makes it)";
    std::setlocale(LC_ALL, "C");
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString mine = dir.filePath("preparada"), clase = dir.filePath("clase"),
                  out = dir.filePath("salida"), data = dir.filePath("datos");
    for (const QString& folder : {mine, clase, out})
        ASSERT_TRUE(QDir().mkpath(folder));
    const QString reading = mine + "/Faro_lec.rtf";
    Fixture::writeFile(reading, Fixture::lessonText({".Sección 1", ".Sección 2"}));

    // The key, written through the editor's model and saved where the student's program reads it.
    KeyDocument document;
    KeySession session(&document);
    session.startNew(LessonPlace::ofReading(reading), {1, 2});
    const QString q1 = "¿Qué guarda el faro?", q2 = "¿Quién enciende la luz?",
                  q3 = "¿Dónde está el faro?";
    writeQuestion(document, 1, q1,
                  {{"La costa", Verdict::Correcta, "¡Bien!"},
                   {"Las ovejas", Verdict::Incorrecta, "Relee el primer párrafo."}});
    writeQuestion(document, 1, q2, {{"La farera", Verdict::Correcta, "Sí."}});
    writeQuestion(document, 2, q3, {{"En la roca", Verdict::Correcta, "Eso es."}});
    ASSERT_TRUE(session.save().saved);

    int status = -1;
    const QString docente = QStringLiteral(DORVALIA_DOCENTE);
    const QString published = run(docente, {"publicar", reading, clase}, data, status);
    ASSERT_EQ(status, 0) << published.toStdString();
    // The plain key stays with the teacher; the program's own documents come along when the
    // class folder lacks them.
    ASSERT_EQ(QDir(clase).entryList(QDir::Files),
              QStringList({"dorvalia_instrucciones.rtf", "dorvalia_intro.rtf", "Faro_CRJ.dvk",
                           "Faro_lec.rtf"}));

    // Each student answers question 1 wrong and then right, and question 2 right at once.
    for (const char* name : {"Ana", "Beto", "Carla"}) {
        const QString boxes =
            run(QStringLiteral(DORVALIA_VISIT), {"visita", clase + "/Faro_lec.rtf", name, "cerrar"},
                data, status);
        ASSERT_EQ(status, 0) << boxes.toStdString();
    }

    const QString summary =
        run(docente,
            {"resumen", clase, "--csv", out + "/csv", "--csv-excel", out + "/excel", "--xlsx",
             out + "/libro.xlsx", "--pdf", out + "/clase.pdf"},
            data, status);
    EXPECT_EQ(status, 0) << summary.toStdString();
    EXPECT_FALSE(summary.contains("sin clave")) << summary.toStdString();
    const QString report = run(
        docente, {"informe", clase, "--alumno", "Ana", "--pdf", out + "/ana.pdf"}, data, status);
    EXPECT_EQ(status, 0) << report.toStdString();

    const QStringList questionColumns = {"Sección",
                                         "Cuestión",
                                         "Alumnos",
                                         "Correctas al primer intento",
                                         "% correctas al primer intento",
                                         "Texto de la cuestión",
                                         "Texto de la respuesta incorrecta más elegida"};
    const QStringList studentColumns = {
        "Alumno",      "Respuestas aceptadas",        "Correctas",
        "Incorrectas", "Correctas al primer intento", "Secciones completadas"};
    struct Style {
        const char* folder;
        QChar separator;
        QString zero, hundred;
    };
    for (const Style& style :
         {Style{"csv", u',', "0.0", "100.0"}, Style{"excel", u';', "0,0", "100,0"}}) {
        SCOPED_TRACE(style.folder);
        const QString folder = out + u'/' + style.folder;
        const QList<QStringList> questions = csvRows(folder + "/cuestiones.csv", style.separator);
        ASSERT_EQ(questions.size(), 3); // the header, and the two questions answered
        EXPECT_EQ(columns(questions, 1, questionColumns),
                  QStringList({"1", "1", "3", "0", style.zero, q1, "Las ovejas"}));
        EXPECT_EQ(columns(questions, 2, questionColumns),
                  QStringList({"1", "2", "3", "3", style.hundred, q2, ""}));
        const QList<QStringList> students = csvRows(folder + "/alumnos.csv", style.separator);
        ASSERT_EQ(students.size(), 4);
        for (int row = 1; row <= 3; ++row)
            EXPECT_EQ(columns(students, row, studentColumns).mid(1),
                      QStringList({"3", "2", "1", "1", "1"}));
    }

    // The workbook: the texts in it, and every number in its sheets written as Excel reads it.
    const QByteArray sheets =
        workbookParts(out + "/libro.xlsx", QRegularExpression("^xl/(worksheets/.*|sharedStrings)"
                                                              "\\.xml$"));
    ASSERT_FALSE(sheets.isEmpty());
    EXPECT_TRUE(sheets.contains(q1.toUtf8()));
    EXPECT_TRUE(sheets.contains(q2.toUtf8()));
    const QRegularExpression number(R"(<v>([^<]*)</v>|(?:width|left|right|top|bottom|header|)"
                                    R"(footer|ht)="([^"]*)\")");
    int numbers = 0;
    for (auto it = number.globalMatch(QString::fromUtf8(sheets)); it.hasNext(); ++numbers) {
        const QRegularExpressionMatch m = it.next();
        const QString value = m.captured(1) + m.captured(2);
        bool ok = false;
        value.toDouble(&ok);
        EXPECT_TRUE(ok) << value.toStdString();
    }
    EXPECT_GT(numbers, 10);

    for (const char* pdf : {"clase.pdf", "ana.pdf"}) {
        const QByteArray bytes = Fixture::readFile(out + u'/' + pdf);
        EXPECT_TRUE(bytes.startsWith("%PDF") && bytes.trimmed().endsWith("%%EOF")) << pdf;
    }
}

} // namespace
