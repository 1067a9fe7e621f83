// The lesson written as a web page and a SCORM package: the page's data judges as the student's
// program does, lesson texts stay text, and the page's folder is replaced whole.
#include "lesson/AnswerKey.h"
#include "lesson/Marks.h"
#include "platform/core/Ansi.h"
#include "teacher/WebSeal.h"
#include "tests/teacher/TeacherTesting.h"
#include "tests/teacher/WorkbookParts.h"
#include "tests/windows/LessonFixture.h"

#include <QDir>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A reading whose first section holds markup as text, bold, a table and a key of every shape:
// a question whose text is a script, an answer left pending, a section the key lacks.
const QByteArray kOddReading =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20\n"
    ".Secci\\'f3n 1\\par\nEl texto dice <b> y &amp; sin m\\'e1s. {\\b negrita}\\par\n"
    "\\trowd\\cellx2000\\cellx4000\\pard\\intbl uno\\cell\\pard\\intbl dos\\cell\\row\\pard\n"
    ".Secci\\'f3n 2\\par\nSin preguntas.\\par\n}\n";
const QStringList kOddKey = {
    ".Sección 1", ".c<script>alert(1)</script>", ".r<b>A</b>", ".bBien & \"bien\"",
    ".rB",        ".pLo hablamos en clase.",     ".rC",        ".mNo."};

QJsonObject lessonData(const QString& page) {
    QByteArray script = Fixture::readFile(page + "/leccion.js");
    const QByteArray head = "window.DORVALIA_LECCION = ";
    if (!script.startsWith(head) || !script.endsWith(";\n"))
        return {};
    return QJsonDocument::fromJson(script.mid(head.size()).chopped(2)).object();
}

QMap<QString, QByteArray> folderFiles(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(folder).relativeFilePath(path), Fixture::readFile(path));
    }
    return files;
}

} // namespace

class WebExportTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private slots:
    void dataJudgesAsTheStudentsProgram_data() {
        QTest::addColumn<QString>("reading");
        QTest::addColumn<QString>("key");
        const QString samples = QStringLiteral(DORVALIA_SAMPLES);
        QTest::newRow("la lección de ejemplo")
            << samples + "/El_volcan_lec.rtf" << samples + "/El_volcan_CRJ.TXT";
        const QString odd = dir_.filePath("Rara_lec.rtf");
        Fixture::writeFile(odd, kOddReading);
        Fixture::writeFile(dir_.filePath("Rara_CRJ.TXT"), Fixture::keyText(kOddKey));
        QTest::newRow("una clave rara") << odd << dir_.filePath("Rara_CRJ.TXT");
    }

    // Every question and answer as the student's program shows them, every verdict and feedback
    // as it tells them; the package holds the page's very files and lists each of them.
    void dataJudgesAsTheStudentsProgram() {
        QFETCH(QString, reading);
        QFETCH(QString, key);
        const QString out = dir_.filePath("web");
        QDir(out).removeRecursively();
        QDir().mkpath(out);
        int status = -1;
        const QString said = run({"web", "--forzar", reading, out}, status);
        QVERIFY2(status == 0, qPrintable(said));
        const QString lesson = QFileInfo(reading).fileName().chopped(8);
        const QString page = out + u'/' + lesson;
        const QJsonObject data = lessonData(page);
        QCOMPARE(data.value("leccion").toString(), lesson);
        const QJsonArray verdicts =
            QJsonDocument::fromJson(UnsealFromWeb(data.value("clave").toString().toLatin1()))
                .array();
        const QJsonArray sections = data.value("secciones").toArray();
        QVERIFY(!sections.isEmpty());
        QCOMPARE(verdicts.size(), sections.size());

        LoadKey(key);
        for (int s = 0; s < sections.size(); ++s) {
            const QJsonObject section = sections[s].toObject();
            QCOMPARE(section.value("numero").toInt(), s + 1);
            QVERIFY(!section.value("texto").toString().contains(QChar::ObjectReplacementCharacter));
            const int header = FindSection(SectionHeader(s + 1));
            QCOMPARE(section.value("cuestiones").isNull(), header < 0);
            const QJsonArray questions = section.value("cuestiones").toArray();
            QCOMPARE(questions.size(), header < 0 ? 0 : ContarMarcas(Mark::Question, header));
            for (int q = 0; q < questions.size(); ++q) {
                const int line = BuscarLineaDePregunta(q + 1, header);
                const QJsonObject question = questions[q].toObject();
                QCOMPARE(question.value("texto").toString(), QuestionText(line));
                const QJsonArray answers = question.value("respuestas").toArray();
                QCOMPARE(answers.size(), ContarMarcas(Mark::Answer, line));
                const QJsonArray told = verdicts[s].toArray()[q].toArray();
                QCOMPARE(told.size(), answers.size() + 1);
                for (int k = 0; k <= answers.size(); ++k) {
                    if (k > 0)
                        QCOMPARE(answers[k - 1].toString(), AnswerText(k, line));
                    const Judgment judgment = Judge(k, line);
                    QCOMPARE(told[k].toArray()[0].toString(), VerdictText(judgment.verdict));
                    QCOMPARE(told[k].toArray()[1].toString(), judgment.feedback);
                }
            }
        }
        Clave.reset();

        QMap<QString, QByteArray> package = ZipParts(out + u'/' + lesson + "_scorm.zip");
        const QString manifest = QString::fromUtf8(package.take("imsmanifest.xml"));
        QCOMPARE(package, folderFiles(page));
        for (const QString& file : package.keys())
            QVERIFY2(manifest.contains("<file href=\"" + file + "\"/>"), qPrintable(file));
        QVERIFY(package.contains("index.html"));
    }

    // Markup in the reading and in the key is text to the page; what the reading's format says
    // is written by the program itself.
    void lessonTextsStayText() {
        const QString out = dir_.filePath("texto");
        QDir().mkpath(out);
        int status = -1;
        run({"web", "--forzar", "--sin-voz", dir_.filePath("Rara_lec.rtf"), out}, status);
        QCOMPARE(status, 0);
        const QJsonObject data = lessonData(out + "/Rara");
        QCOMPARE(data.value("voz").toBool(), false);
        const QJsonObject first = data.value("secciones").toArray()[0].toObject();
        const QString html = first.value("html").toString();
        for (const char* part :
             {">El texto dice &lt;b&gt; y &amp;amp; sin más. <", "<b>negrita</b>",
              "<table><tbody><tr><td><p>", ">uno<", "</p></td><td><p>"})
            QVERIFY2(html.contains(part), qPrintable(html));
        QVERIFY(!html.contains(".Sección"));
        QCOMPARE(first.value("cuestiones").toArray()[0].toObject().value("texto").toString(),
                 "<script>alert(1)</script>");
        QVERIFY(!Fixture::readFile(out + "/Rara/leccion.js").contains("Bien & "));
    }

    // Publishing again replaces the page whole; a link where the package goes is refused and
    // what was there stays as it was.
    void theFolderIsReplacedWholeAndLinksAreRefused() {
        const QString out = dir_.filePath("otra");
        QDir().mkpath(out + "/Rara/viejo");
        Fixture::writeFile(out + "/Rara/viejo/resto.txt", "de antes");
        int status = -1;
        run({"web", "--forzar", dir_.filePath("Rara_lec.rtf"), out}, status);
        QCOMPARE(status, 0);
        QVERIFY(!QFileInfo::exists(out + "/Rara/viejo"));
        const QStringList left =
            QDir(out).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        QCOMPARE(left, QStringList({"Rara", "Rara_scorm.zip"}));
#ifdef Q_OS_UNIX
        const QMap<QString, QByteArray> before = folderFiles(out + "/Rara");
        QFile::remove(out + "/Rara_scorm.zip");
        Fixture::writeFile(dir_.filePath("ajeno.zip"), "ajeno");
        QVERIFY(QFile::link(dir_.filePath("ajeno.zip"), out + "/Rara_scorm.zip"));
        const QString said = run({"web", "--forzar", dir_.filePath("Rara_lec.rtf"), out}, status);
        QCOMPARE(status, 3);
        QVERIFY2(said.contains("es un enlace"), qPrintable(said));
        QCOMPARE(Fixture::readFile(dir_.filePath("ajeno.zip")), QByteArray("ajeno"));
        QCOMPARE(folderFiles(out + "/Rara"), before);
#endif
    }
};

QTEST_MAIN(WebExportTest)
#include "WebExportTest.moc"
