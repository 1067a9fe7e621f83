// Publishing a lesson for the class, from the command line and from the check's tab, and the
// teacher's program reading a lesson whose key is only published.
#include "commandline/CommandLine.h"
#include "lesson/PublishedKey.h"
#include "platform/Application.h"
#include "platform/Boxes.h"
#include "print/LessonReader.h"
#include "teacher/KeyOutline.h"
#include "tests/teacher/TeacherTesting.h"
#include "tests/windows/LessonFixture.h"
#include "windows/teacher/CheckView.h"
#include "windows/teacher/TeacherWindow.h"

#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QStringList kKey = {".Sección 1", ".c¿Qué duerme?",     ".rEl volcán.", ".bBien visto.",
                          ".rLa isla.", ".mRelee el título.", ".Sección 2",   ".c¿Quién llega?",
                          ".rLucía.",   ".bEso es."};

const QString kIntro = QStringLiteral("dorvalia_intro.rtf");
const QString kInstructions = QStringLiteral("dorvalia_instrucciones.rtf");

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

class PublishTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString lessons_;

    // A lesson in the teacher's folder; its key given, or none.
    QString writeLesson(const QString& name, const QStringList& key) {
        const QString path = lessons_ + u'/' + name + "_lec.rtf";
        Fixture::writeFile(path, Fixture::lessonText({".Sección 1", ".Sección 2"}));
        if (!key.isEmpty())
            Fixture::writeFile(lessons_ + u'/' + name + "_CRJ.TXT", Fixture::keyText(key));
        return path;
    }

    QString freshFolder(const QString& name) {
        const QString path = dir_.filePath(name);
        QDir(path).removeRecursively();
        QDir().mkpath(path);
        return path;
    }

private slots:
    void initTestCase() {
        lessons_ = dir_.filePath("docente");
        QDir().mkpath(lessons_);
    }
    void init() { Boxes::startScript(); }
    void cleanup() {
        QCOMPARE(Boxes::unanswered(), 0);
        QCOMPARE(Boxes::unusedAnswers(), 0);
        Boxes::stopScript();
    }

    void publicarExitStatuses_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said");
        QTest::addColumn<QStringList>("published");

        const QString good = writeLesson("Buena", kKey);
        QStringList broken = kKey;
        broken.removeAt(5); // answer 2 loses its judgment line
        const QString bad = writeLesson("Mala", broken);
        const QString keyless = writeLesson("SinClave", {});
        const QString clase = dir_.filePath("clase");
        // A new class folder gets the program's introduction and instructions too.
        const QStringList both = {"Buena_CRJ.dvk", "Buena_lec.rtf", kInstructions, kIntro};
        QTest::newRow("lista") << QStringList{"publicar", good, clase} << 0
                               << "Publicada: " + QDir::toNativeSeparators(clase) << both;
        QTest::newRow("con errores")
            << QStringList{"publicar", bad, clase} << 1
            << "La lección tiene 1 error: no se ha publicado." << QStringList();
        QTest::newRow("forzada") << QStringList{"publicar", "--forzar", bad, clase} << 0
                                 << "Publicada: "
                                 << QStringList{"Mala_CRJ.dvk", "Mala_lec.rtf", kInstructions,
                                                kIntro};
        QTest::newRow("sin clave")
            << QStringList{"publicar", "--forzar", keyless, clase} << 2
            << "La lección no se puede leer: no se ha publicado." << QStringList();
        QTest::newRow("sin carpeta") << QStringList{"publicar", good} << 64
                                     << "falta la carpeta de la clase." << QStringList();
        QTest::newRow("carpeta que no existe")
            << QStringList{"publicar", good, clase + "/no"} << 3
            << "La carpeta de la clase " + QDir::toNativeSeparators(clase + "/no") + " no existe"
            << QStringList();
        QTest::newRow("la carpeta de la lección")
            << QStringList{"publicar", good, lessons_} << 3
            << "La carpeta de la clase es la misma de la lección" << QStringList();
        QTest::newRow("ayuda") << QStringList{"publicar", "--help"} << 0
                               << "  1  la lección tiene errores y no se ha publicado"
                               << QStringList();
    }

    // Each outcome has its status, says so, and writes the two files or nothing.
    void publicarExitStatuses() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, said);
        QFETCH(QStringList, published);
        const QString clase = freshFolder("clase");
        const QStringList teacherFiles = filesIn(lessons_);
        int got = -1;
        const QString output = run(arguments, got);
        QVERIFY2(output.contains(said), qPrintable(output));
        QCOMPARE(got, status);
        QCOMPARE(filesIn(clase), published);
        QCOMPARE(filesIn(lessons_), teacherFiles);
        if (!published.isEmpty()) {
            // The reading as it is, the key as its published copy only.
            const QString name = published.first().chopped(kPublishedKeySuffix.size());
            QCOMPARE(Fixture::readFile(clase + u'/' + name + "_lec.rtf"),
                     Fixture::readFile(lessons_ + u'/' + name + "_lec.rtf"));
            QCOMPARE(ReadPublishedKey(clase + u'/' + name + "_CRJ.dvk"),
                     Fixture::readFile(lessons_ + u'/' + name + "_CRJ.TXT"));
        }
    }

    // Publishing again replaces the copy; a plain key found in the class's folder is named, and
    // left for the teacher to remove; the program documents beside the reading go with it.
    void publishingAgainReplacesAndAPlainKeyIsNamed() {
        const QString good = writeLesson("Otra", kKey);
        const QString clase = freshFolder("clase");
        const QString stray = clase + "/Otra_CRJ.txt";
        Fixture::writeFile(stray, Fixture::keyText(kKey));
        int status = -1;
        QString output = run({"publicar", good, clase}, status);
        QCOMPARE(status, 0);
        QVERIFY2(output.contains("aviso: en la carpeta de la clase está la clave sin proteger " +
                                 QDir::toNativeSeparators(stray)),
                 qPrintable(output));
        // The class's folder had no introduction: the program's own, as the package installs it.
        QVERIFY2(output.contains("Escrito también, porque faltaba en la carpeta: " +
                                 QDir::toNativeSeparators(clase + u'/' + kIntro)),
                 qPrintable(output));
        for (const QString& document : {kIntro, kInstructions})
            QCOMPARE(Fixture::readFile(clase + u'/' + document),
                     Fixture::readFile(QStringLiteral(DORVALIA_SAMPLES "/") + document));
        QVERIFY(QFile::exists(stray));
        QFile::remove(stray);

        QStringList changed = kKey;
        changed[3] = ".bMuy bien visto.";
        Fixture::writeFile(lessons_ + "/Otra_CRJ.TXT", Fixture::keyText(changed));
        output = run({"publicar", good, clase}, status);
        QCOMPARE(status, 0);
        QVERIFY(!output.contains("aviso"));
        QCOMPARE(filesIn(clase),
                 QStringList({"Otra_CRJ.dvk", "Otra_lec.rtf", kInstructions, kIntro}));
        QCOMPARE(ReadPublishedKeyLines(clase + "/Otra_CRJ.dvk"), changed);

        // The introduction beside the reading goes with it, under the name the student's program
        // opens.
        const QString intro = lessons_ + "/Dorvalia_Intro.rtf";
        Fixture::writeFile(intro, Fixture::lessonText({"Hola"}));
        output = run({"publicar", good, clase}, status);
        QFile::remove(intro);
        QCOMPARE(status, 0);
        QVERIFY2(output.contains("Copiado también, como estaba junto a la lectura: " +
                                 QDir::toNativeSeparators(clase + "/dorvalia_intro.rtf")),
                 qPrintable(output));
        QCOMPARE(Fixture::readFile(clase + "/dorvalia_intro.rtf"), Fixture::lessonText({"Hola"}));
    }

    // A reading under another name is told how to be named, a file that is no RTF is said to be
    // none (not a lesson without sections), and neither is published.
    void readingsTheCheckRefuses() {
        const QString clase = freshFolder("clase");
        Fixture::writeFile(lessons_ + "/El_huerto.rtf", Fixture::lessonText({".Sección 1"}));
        Fixture::writeFile(lessons_ + "/Odt_lec.rtf", QByteArray("PK\x03\x04\x14\0\0\0mimetype"
                                                                 "application/vnd.oasis"));
        for (const auto& [reading, said] :
             {std::pair{
                  QStringLiteral("/El_huerto.rtf"),
                  QStringLiteral("una lectura debe llamarse NOMBRE_lec.rtf, y «El_huerto.rtf» "
                                 "no: cámbiele el nombre a «El_huerto_lec.rtf»")},
              {QStringLiteral("/Odt_lec.rtf"), QStringLiteral("no es un archivo RTF")}}) {
            int status = -1;
            const QString output = run({"revisar", lessons_ + reading}, status);
            QVERIFY2(output.contains(said), qPrintable(output));
            QVERIFY2(!output.contains("ninguna marca") && !output.contains("El_lec.rtf"),
                     qPrintable(output));
            QCOMPARE(status, 2);
            run({"publicar", "--forzar", lessons_ + reading, clase}, status);
            QCOMPARE(filesIn(clase), QStringList());
        }
    }

    // The check and the class's results read the published key when it is all there is; a
    // damaged one is the check's error.
    void theTeachersProgramReadsAPublishedKey() {
        const QString clase = freshFolder("clase");
        int status = -1;
        run({"publicar", writeLesson("Leida", kKey), clase}, status);
        QCOMPARE(status, 0);
        const QString published = clase + "/Leida_CRJ.dvk";

        LessonReport report = checkLessonFiles(clase + "/Leida_lec.rtf", readLessonText);
        QCOMPARE(report.key, kKey);
        QCOMPARE(report.keyPath, published);
        QCOMPARE(report.count(Problem::Severity::Error), 0);
        QCOMPARE(report.sections.at(0).questions.at(0).answers.at(1).feedback,
                 QString("Relee el título."));
        const KeyOutline outline = LoadKeyOutline(clase + "/Leida_CRJ.TXT");
        QVERIFY(outline.loaded);
        QCOMPARE(outline.question(2, 1)->text, QString("¿Quién llega?"));

        QByteArray bytes = Fixture::readFile(published);
        bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 0x20);
        Fixture::writeFile(published, bytes);
        report = checkLessonFiles(clase + "/Leida_lec.rtf", readLessonText);
        QVERIFY(report.unreadable);
        QCOMPARE(report.problems.at(0).text, "no se puede leer la clave: La clave publicada " +
                                                 published +
                                                 " está dañada o se ha cambiado a mano: vuelva a "
                                                 "publicar la lección");
        QVERIFY(!LoadKeyOutline(clase + "/Leida_CRJ.TXT").loaded);
    }

    // «Publicar para la clase…»: the folder is chosen in the dialog; a lesson with errors is
    // published only when the teacher confirms; a plain key in the class's folder is offered for
    // removal.
    void theCheckTabPublishes() {
        QStringList broken = kKey;
        broken.removeAt(5);
        const QString path = writeLesson("Ventana", broken);
        const QString clase = freshFolder("clase");
        TeacherWindow window;
        window.show();
        auto* publish = window.findChild<QPushButton*>("BtPublicar");
        QVERIFY(!publish->isEnabled());
        window.checkView()->openLesson(path);
        QVERIFY(publish->isEnabled());

        Boxes::answer(false); // not with its error
        QTest::mouseClick(publish, Qt::LeftButton);
        QCOMPARE(Boxes::shown().size(), 1);
        QCOMPARE(Boxes::shown()[0].text,
                 QString("La lección tiene 1 error: el alumno verá algo mal o no podrá terminar. "
                         "¿Publicarla igual?"));
        QCOMPARE(filesIn(clase), QStringList());

        Fixture::writeFile(lessons_ + "/Ventana_CRJ.TXT", Fixture::keyText(kKey)); // mended
        Fixture::writeFile(clase + "/Ventana_CRJ.TXT", Fixture::keyText(kKey));
        Boxes::answer(true, clase); // the class's folder
        Boxes::answer(true);        // remove the plain key there
        QTest::mouseClick(publish, Qt::LeftButton);
        QCOMPARE(Boxes::shown().size(), 4);
        QCOMPARE(Boxes::shown()[1].kind, Boxes::Kind::Folder);
        QVERIFY(Boxes::shown()[2].text.startsWith(
            "En la carpeta de la clase está la clave sin proteger " +
            QDir::toNativeSeparators(clase + "/Ventana_CRJ.TXT")));
        QCOMPARE(Boxes::shown()[3].kind, Boxes::Kind::Information);
        QCOMPARE(Boxes::shown()[3].text,
                 "Lección publicada en " + QDir::toNativeSeparators(clase) +
                     ": Ventana_lec.rtf y Ventana_CRJ.dvk. La carpeta no tenía la introducción o "
                     "las instrucciones del programa, que el alumno ve al empezar: se han escrito "
                     "en ella.");
        QCOMPARE(filesIn(clase),
                 QStringList({"Ventana_CRJ.dvk", "Ventana_lec.rtf", kInstructions, kIntro}));
        QCOMPARE(ReadPublishedKeyLines(clase + "/Ventana_CRJ.dvk"), kKey);
        QVERIFY(QFile::exists(lessons_ + "/Ventana_CRJ.TXT"));

        // The teacher's own folder is refused: its plain key would stay beside the reading.
        Boxes::answer(true, lessons_);
        QTest::mouseClick(publish, Qt::LeftButton);
        QCOMPARE(Boxes::shown().back().kind, Boxes::Kind::Error);
        QVERIFY(Boxes::shown().back().text.startsWith(
            "La carpeta de la clase es la misma de la lección"));
        QVERIFY(QFile::exists(lessons_ + "/Ventana_CRJ.TXT"));
    }
};

int main(int argc, char** argv) {
    qputenv("LC_ALL", "C.UTF-8");
    Application app(argc, argv);
    PublishTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "PublishTest.moc"
