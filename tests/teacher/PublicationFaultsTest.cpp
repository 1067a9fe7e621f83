// A class folder that students write and two teachers publish into: publishing through a link,
// a reading and a key left by two publications, two publishers at once.
#include "lesson/AnswerKey.h"
#include "lesson/LessonPlace.h"
#include "lesson/OnePublication.h"
#include "platform/core/ToolkitError.h"
#include "print/LessonReader.h"
#include "teacher/LessonCheck.h"
#include "teacher/Publication.h"
#include "tests/teacher/TeacherTesting.h"
#include "tests/windows/LessonFixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

namespace {

const QString kSamples = QStringLiteral(DORVALIA_SOURCE "/samples/");

// The reading is laid out as the lesson window lays it out, which takes the application of the
// windows.
void needApplication() {
    static int argc = 1;
    static char name[] = "publication_faults_tests";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
}

struct Folders {
    QTemporaryDir dir;
    QString teacher = dir.filePath("docente"), other = dir.filePath("otra"),
            clase = dir.filePath("clase"), outside = dir.filePath("fuera");
    Folders() {
        needApplication();
        for (const QString& path : {teacher, other, clase, outside})
            QDir().mkpath(path);
        // Two versions of one lesson: the sample, and the sample with its reading and key changed.
        for (const QString name : {"El_volcan_lec.rtf", "El_volcan_CRJ.TXT"}) {
            const QByteArray bytes = Fixture::readFile(kSamples + name);
            Fixture::writeFile(teacher + u'/' + name, bytes);
            Fixture::writeFile(other + u'/' + name, bytes + "\r\n");
        }
    }
    QString lesson(const QString& folder) const { return folder + "/El_volcan_lec.rtf"; }
};

// A link in the class's folder where a file of the lesson goes is refused by name, and nothing
// outside the folder is written.
TEST(PublicationFaults, PublishingThroughALinkIsRefused) {
    for (const char* name : {"El_volcan_CRJ.dvk", "El_volcan_lec.rtf", "dorvalia_intro.rtf"}) {
        SCOPED_TRACE(name);
        Folders f;
        Fixture::writeFile(f.teacher + "/dorvalia_intro.rtf", Fixture::lessonText({"Hola"}));
        const QString mine = f.outside + "/del_docente.txt";
        Fixture::writeFile(mine, "del docente");
        const QString link = f.clase + u'/' + QLatin1String(name);
        ASSERT_TRUE(QFile::link(mine, link));
        int status = -1;
        const QString said = run({"publicar", f.lesson(f.teacher), f.clase}, status);
        EXPECT_EQ(status, 3);
        EXPECT_TRUE(said.contains(QDir::toNativeSeparators(link) + " es un enlace"))
            << said.toStdString();
        EXPECT_EQ(Fixture::readFile(mine), "del docente");
        EXPECT_EQ(QDir(f.outside).entryList(QDir::Files), QStringList{"del_docente.txt"});
    }
}

// The key of one publication beside the reading of another, as a publication killed between the
// two files leaves them: the student is told to open the lesson again in a moment, the check and
// the class's results say the pair does not match.
TEST(PublicationFaults, AReadingAndAKeyOfTwoPublicationsAreNoticed) {
    Folders f;
    int status = -1;
    run({"publicar", f.lesson(f.teacher), f.clase}, status);
    ASSERT_EQ(status, 0);
    run({"publicar", f.lesson(f.other), f.outside}, status);
    ASSERT_EQ(status, 0);
    QFile::remove(f.clase + "/El_volcan_CRJ.dvk");
    ASSERT_TRUE(QFile::copy(f.outside + "/El_volcan_CRJ.dvk", f.clase + "/El_volcan_CRJ.dvk"));
    QFile::copy(QStringLiteral(DORVALIA_SOURCE "/tests/data/stored/El_volcan07122026_reg.csv"),
                f.clase + "/El_volcan07122026_reg.csv");
    const LessonPlace place = LessonPlace::ofReading(f.lesson(f.clase));

    QString student;
    try {
        LoadKey(place.keyPath());
        RequireOnePublication(place.readingPath(), ReadingDigestAt(place.readingPath()));
    } catch (const ToolkitError& e) {
        student = e.spanish();
    }
    const QString checked = run({"revisar", place.readingPath()}, status);
    EXPECT_EQ(status, 1);
    const std::pair<QString, const char*> cases[] = {
        {student, "La lección se está publicando en este momento: ciérrela y vuelva a abrirla"},
        {checked, "no es la que se publicó con la clave"},
        {run({"resumen", f.clase}, status), "no es la que se publicó con la clave"},
    };
    for (const auto& [said, expected] : cases)
        EXPECT_TRUE(said.contains(QString::fromUtf8(expected))) << said.toStdString();
    Clave.reset();
}

// No answer comes out of the class's copy of the key, which every student's computer holds.
TEST(PublicationFaults, NoAnswersAreExportedFromAPublishedKey) {
    Folders f;
    int status = -1;
    run({"publicar", f.lesson(f.teacher), f.clase}, status);
    const QString out = f.outside + "/salida";
    for (const QStringList& call : {QStringList{"gift", f.lesson(f.clase), out},
                                    {"ficha", f.lesson(f.clase), "--con-clave", "--pdf", out}}) {
        EXPECT_TRUE(run(call, status).contains("hace falta la clave sin proteger"));
        EXPECT_EQ(status, 2);
        EXPECT_FALSE(QFile::exists(out));
    }
}

// Two teachers publishing two versions into one folder at once: each told it is published
// leaves a reading and a key of one publication.
TEST(PublicationFaults, TwoPublishersAtOnceLeaveOnePublicationWhole) {
    Folders f;
    const LessonReport first = checkLessonFiles(f.lesson(f.teacher), readLessonText);
    const LessonReport second = checkLessonFiles(f.lesson(f.other), readLessonText);
    const QString reading = f.lesson(f.clase), key = f.clase + "/El_volcan_CRJ.dvk";
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        // A publisher may also say it could not publish; it must not leave a mixed pair.
        auto publish = [&](const LessonReport& report) {
            try {
                publishLesson(report, f.clase);
            } catch (const ToolkitError&) {
            }
        };
        std::thread a(publish, std::cref(first));
        std::thread b(publish, std::cref(second));
        a.join();
        b.join();
        const QString from = Fixture::readFile(reading) == Fixture::readFile(f.lesson(f.teacher))
                                 ? f.teacher
                                 : f.other;
        ASSERT_EQ(ReadPublishedKey(key), Fixture::readFile(from + "/El_volcan_CRJ.TXT"));
    }
}

} // namespace
