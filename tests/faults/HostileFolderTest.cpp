#include "commandline/CommandLine.h"
#include "platform/core/ToolkitError.h"
#include "study/Register.h"
#include "study/RegisterLock.h"
#include "study/VisitCopy.h"
#include "teacher/RegisterReader.h"
#include "teacher/StudentNames.h"
#include "teacher/VisitCopies.h"
#include "tests/teacher/WorkbookParts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <future>
#include <sys/stat.h>

namespace {

const QByteArray kColumns = "Nombre,Secci\xF3n,Cuesti\xF3n,Respuesta,Juicio,1er intento\r\n";

QByteArray visitOf(const QByteArray& name) {
    return name + ",07/12/2026,L\r\n" + kColumns + name + ",1,1,1,Correcta,si\r\n";
}

// A class folder as students leave it, and a teacher's file outside it that nothing may touch.
struct Folder {
    QTemporaryDir root;
    QString clase = root.filePath("CLASE");
    QString reg = clase + "/L07122026_reg.csv";
    QString outside = root.filePath("clave_del_docente.txt");
    QString copies = clase + "/.dorvalia-visitas";

    Folder() {
        QDir().mkpath(clase);
        write(outside, "Correcta: la respuesta secreta\r\n");
    }
    static void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    static QByteArray read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no se lee)");
    }
    // Two saved visits, the second then written over: its sealed copy is the only trace.
    void loseSecondVisit(const QByteArray& first, const QByteArray& second) {
        AppendToRegister(reg, first);
        AppendToRegister(reg, second);
        ASSERT_TRUE(QFile::resize(reg, first.size()));
    }
    QList<RegisterProblem> notices(NoticeKind kind) {
        QList<RegisterProblem> found;
        for (const RegisterProblem& notice : ReadRegister(reg).notices)
            if (notice.kind == kind)
                found.append(notice);
        return found;
    }
    int restore() {
        QStringList failures;
        return RestoreMissingVisits(clase, false, failures);
    }
    int command(const QStringList& arguments, QString& said) {
        QTextStream out(&said), err(&said);
        return runCommandLine(arguments, out, err);
    }
};

// Each planted copy is named «copia no válida» for its reason, and none is vouched for or put back.
void expectOnlyInvalidCopies(Folder& f, const QStringList& reasons) {
    const QList<RegisterProblem> invalid = f.notices(NoticeKind::InvalidCopy);
    ASSERT_EQ(invalid.size(), reasons.size());
    for (const QString& reason : reasons)
        EXPECT_TRUE(std::any_of(invalid.begin(), invalid.end(), [&](const auto& n) {
            return n.message.contains(reason);
        })) << reason.toStdString();
    EXPECT_TRUE(f.notices(NoticeKind::MissingVisit).isEmpty());
    const QByteArray before = Folder::read(f.reg);
    EXPECT_EQ(f.restore(), 0);
    EXPECT_EQ(Folder::read(f.reg), before);
}

struct Hostile {
    const char* what;
    std::function<void(Folder&)> plantAndCheck;
};

const Hostile kHostile[] = {
    {"a register linked to a teacher's file: the student's save, the reading, the restoring",
     [](Folder& f) {
         f.loseSecondVisit(visitOf("Ana"), visitOf("Eva"));
         QFile::remove(f.reg);
         ASSERT_TRUE(QFile::link(f.outside, f.reg));
         EXPECT_THROW(AppendToRegister(f.reg, visitOf("Ana")), ToolkitError);
         EXPECT_FALSE(ReadRegister(f.reg).read);
         EXPECT_EQ(f.restore(), 0);
     }},
    {"copies linked to the teacher's key, written by hand, sparse of 2 GB",
     [](Folder& f) {
         AppendToRegister(f.reg, visitOf("Ana"));
         const QString copy = f.copies + "/L07122026_reg.csv.%1.visita";
         ASSERT_TRUE(QFile::link(f.outside, copy.arg(1)));
         f.write(copy.arg(2), visitOf("Falso"));
         f.write(copy.arg(3), {});
         ASSERT_TRUE(QFile::resize(copy.arg(3), qint64(2) << 30));
         expectOnlyInvalidCopies(f, {"enlace", "sello", "ocupa más de 1 MB"});
     }},
    {"the copies' folder linked to another class's copies",
     [](Folder& f) {
         const QString other = f.root.filePath("OTRA/L07122026_reg.csv");
         QDir().mkpath(f.root.filePath("OTRA"));
         AppendToRegister(other, visitOf("Otro"));
         f.write(f.reg, visitOf("Ana"));
         ASSERT_TRUE(QFile::link(f.root.filePath("OTRA/.dorvalia-visitas"), f.copies));
         EXPECT_TRUE(f.notices(NoticeKind::MissingVisit).isEmpty());
         EXPECT_EQ(f.restore(), 0);
     }},
    {"a visit saved twice alike, the second written over; escape sequences in its name",
     [](Folder& f) {
         const QByteArray escaping = visitOf("\x1b]0;pwned\x07\x1b[2J");
         f.loseSecondVisit(escaping, escaping);
         EXPECT_EQ(f.notices(NoticeKind::MissingVisit).size(), 1);
         QString said;
         f.command({"resumen", f.clase}, said);
         EXPECT_TRUE(said.contains("Falta en el registro") && said.contains("\\x1B"));
         EXPECT_FALSE(said.contains(QChar(0x1b)) || said.contains(QChar(0x07)));
         EXPECT_EQ(f.restore(), 1);
         EXPECT_EQ(Folder::read(f.reg), escaping + escaping);
     }},
    {"a lock file left by a save that was killed",
     [](Folder& f) {
         AppendToRegister(f.reg, visitOf("Ana"));
         QByteArray lockBytes;
         if (const auto lock = LockRegister(f.reg, 1000))
             lockBytes = Folder::read(RegisterLockPath(f.reg));
         // No process has so high a number: the save that made it is gone.
         f.write(RegisterLockPath(f.reg), "2147483000" + lockBytes.mid(lockBytes.indexOf('\n')));
         EXPECT_EQ(ReadRegister(f.reg).visits.size(), 1);
     }},
    {"alumnos.ini linked to a teacher's file, and a FIFO",
     [](Folder& f) {
         const QString joins = f.clase + "/alumnos.ini";
         ASSERT_TRUE(QFile::link(f.outside, joins));
         QString failure;
         EXPECT_FALSE(StudentNames().load(joins, failure));
         EXPECT_TRUE(failure.contains("enlace")) << failure.toStdString();
         QFile::remove(joins);
         ASSERT_EQ(::mkfifo(QFile::encodeName(joins).constData(), 0600), 0);
         auto load =
             std::async(std::launch::async, [&] { return StudentNames().load(joins, failure); });
         if (load.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
             ADD_FAILURE() << "reading alumnos.ini waits for a writer";
             QFile writer(joins); // lets the blocked open go on
             writer.open(QIODevice::WriteOnly);
         }
         EXPECT_FALSE(load.get());
     }},
    {"the class's exports written through links to a teacher's files",
     [](Folder& f) {
         AppendToRegister(f.reg, visitOf("Ana"));
         const QString out = f.root.filePath("SALIDA");
         QDir().mkpath(out);
         for (const char* name : {"curso.csv", "r.xlsx", "r.pdf"})
             ASSERT_TRUE(QFile::link(f.outside, out + '/' + name));
         for (const QStringList& exported :
              {QStringList{"--csv", out}, {"--xlsx", out + "/r.xlsx"}, {"--pdf", out + "/r.pdf"}}) {
             QString err;
             EXPECT_NE(f.command(QStringList{"resumen", f.clase} + exported, err), 0);
             EXPECT_TRUE(err.contains("enlace")) << err.toStdString();
             EXPECT_TRUE(QFileInfo(out + "/curso.csv").isSymLink());
         }
     }},
    {"the lesson check reading a key linked to a teacher's file",
     [](Folder& f) {
         const QString reading = f.clase + "/El_volcan_lec.rtf";
         ASSERT_TRUE(QFile::copy(DORVALIA_SAMPLES "/El_volcan_lec.rtf", reading));
         ASSERT_TRUE(QFile::link(f.outside, f.clase + "/El_volcan_CRJ.TXT"));
         QString said;
         f.command({"revisar", reading}, said);
         EXPECT_TRUE(said.contains("no se puede leer la clave")) << said.toStdString();
     }},
    {"a name of 200,000 characters in the workbook and the report",
     [](Folder& f) {
         const QByteArray endless(200000, 'A');
         f.write(f.reg, visitOf(endless));
         QString err;
         const QString book = f.root.filePath("r.xlsx");
         EXPECT_EQ(
             f.command({"resumen", f.clase, "--xlsx", book, "--pdf", f.root.filePath("r.pdf")},
                       err),
             0)
             << err.toStdString();
         const QByteArray strings = WorkbookXmlParts(book).value("xl/sharedStrings.xml");
         EXPECT_TRUE(strings.contains("AAA\xE2\x80\xA6") && !strings.contains(endless));
     }},
};

// Every hostile case of a class folder at once, each in a folder of its own: nothing outside the
// folder is read or written, nothing blocks, and nothing planted is vouched for.
TEST(HostileFolder, NothingPlantedInAClassFolderIsTrustedOrFollowed) {
    for (const Hostile& row : kHostile) {
        SCOPED_TRACE(row.what);
        Folder f;
        const QByteArray outside = Folder::read(f.outside);
        row.plantAndCheck(f);
        EXPECT_EQ(Folder::read(f.outside), outside);
    }
}

} // namespace

// The exports and the lesson check need the widgets' application, without a screen.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
