// The register when the machine fails it: a folder that cannot be written, a register that is
// there but cannot be read, a disk that fills in the middle of the save, and the closing tried
// again afterwards. Whatever fails, the student's answers stay in Registro, the register keeps
// what it had, the next successful closing writes every line exactly once, and the error box
// says "Cannot create file %s", "File access denied" or "Disk full".
//
// The tests run as root, whom permission bits do not stop, so the faults are ones that stop root
// too: a tmpfs mounted read-only or filled up (inside a private mount namespace of the test
// process), the file system's immutable flag, a file where a folder should be, a socket or a FIFO
// at the register's name, and a file size limit. A case skips only when the machine does not
// allow its fault (no mount rights in a container, a file system without the immutable flag).

#include "tests/faults/FileFaults.h"

#include "lesson/LessonFiles.h"
#include "platform/core/Clock.h"
#include "platform/core/ToolkitError.h"
#include "platform/core/Verdict.h"
#include "study/Journal.h"
#include "study/Register.h"
#include "study/Visit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#ifdef DORVALIA_FAULTS_ERROR_BOX
#include "platform/Boxes.h"
#endif

#include <gtest/gtest.h>

#include <chrono>
#include <future>

namespace {

using namespace FileFaults;

class FakeWindow : public LessonWindow {
public:
    int resultsEnabled = 0;
    void LimpiarPreguntaYRespuesta() override {}
    void setQuestionMaximum(int) override {}
    void enableResults() override { ++resultsEnabled; }
};

const QByteArray kColumns = "Nombre,Secci\xF3n,Cuesti\xF3n,Respuesta,Juicio,1er intento\r\n";

#define SKIP_UNLESS_ALLOWED(reason)                                                                \
    do {                                                                                           \
        const QString why = (reason);                                                              \
        if (!why.isEmpty())                                                                        \
            GTEST_SKIP() << "this machine does not allow it: " << why.toStdString();               \
    } while (false)

class RegisterFaults : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp.isValid());
        folder = temp.filePath(QStringLiteral("leccion"));
        ASSERT_TRUE(QDir().mkpath(folder));
        DirLeccion = folder + u'/';
        NombreLeccion = QStringLiteral("El_volcan");
        Clock::setNow(QDateTime(QDate(2026, 12, 7), QTime(10, 0)));
        Clock::setShortDatePattern(QStringLiteral("dd/MM/yyyy"));
    }
    void TearDown() override {
        SetRegisterReadBackHook({});
        for (const QString& path : immutable)
            setImmutable(path, false);
        if (mounted)
            unmount(folder);
        EndVisit();
        Clock::setNow(std::nullopt);
        Clock::setShortDatePattern(std::nullopt);
    }

    // Starts a visit of the student and accepts one answer per verdict, to questions 1, 2, ...
    void visit(const QString& alumno, const QList<Verdict>& verdicts) {
        NombreAlumno = alumno;
        StartVisit();
        question = 0;
        for (const Verdict verdict : verdicts)
            answer(verdict);
    }
    void answer(Verdict verdict, int section = 2) {
        AnotarJuicio(1, verdict, section, QString::number(++question), window);
    }

    QString registerPath() const {
        return QDir(folder).filePath(QStringLiteral("El_volcan07122026_reg.csv"));
    }

    static QByteArray contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }
    static void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    // The register's bytes for Registro as it is now.
    static QByteArray block() {
        QByteArray bytes;
        for (const QString& line : Registro->lines())
            bytes += line.toLatin1() + "\r\n";
        return bytes;
    }

    // Saves, and checks that a failure says exactly `expected`, in the exception and, with the
    // full stop that it adds, in the application's error box; and that no answer was lost.
    void expectSaveFails(const QString& expected) {
        const QStringList before = Registro->lines();
        QString message = QStringLiteral("(saved)");
        try {
            GuardarRegistro();
        } catch (const ToolkitError& e) {
            message = e.message();
        }
        EXPECT_EQ(message, expected);
#ifdef DORVALIA_FAULTS_ERROR_BOX
        EXPECT_EQ(Boxes::withFullStop(message), expected + u'.');
#endif
        EXPECT_EQ(Registro->lines(), before);
    }

    QString mountSmallDisk(qint64 bytes) {
        const QString reason = mountTmpfs(folder, bytes);
        mounted = reason.isEmpty();
        return reason;
    }

    QTemporaryDir temp;
    QString folder;
    QStringList immutable;
    bool mounted = false;
    FakeWindow window;
    int question = 0;
};

TEST_F(RegisterFaults, AFileWhereTheFolderShouldBeRefusesTheNewRegister) {
    // The lesson's folder is a file: no one, not even root, can create a file inside it.
    QDir(folder).removeRecursively();
    write(folder, "no soy una carpeta");
    visit(QStringLiteral("Ana"), {Verdict::Correcta, Verdict::Incorrecta});
    expectSaveFails(QStringLiteral("Cannot create file ") + registerPath());
    EXPECT_EQ(contents(folder), "no soy una carpeta");

    ASSERT_TRUE(QFile::remove(folder));
    ASSERT_TRUE(QDir().mkpath(folder));
    GuardarRegistro();
    EXPECT_EQ(contents(registerPath()), block());
}

TEST_F(RegisterFaults, AReadOnlyFolderRefusesBothANewRegisterAndAnAppend) {
    SKIP_UNLESS_ALLOWED(mountSmallDisk(1 << 20));
    SKIP_UNLESS_ALLOWED(remount(folder, true));
    visit(QStringLiteral("Ana"), {Verdict::Correcta});
    expectSaveFails(QStringLiteral("Cannot create file ") + registerPath());
    EXPECT_FALSE(QFileInfo::exists(registerPath()));

    ASSERT_EQ(remount(folder, false), QString());
    GuardarRegistro();
    const QByteArray first = contents(registerPath());
    EXPECT_EQ(first, block());

    visit(QStringLiteral("Luis"), {Verdict::Incorrecta});
    ASSERT_EQ(remount(folder, true), QString());
    expectSaveFails(QStringLiteral("File access denied"));
    EXPECT_EQ(contents(registerPath()), first);

    ASSERT_EQ(remount(folder, false), QString());
    GuardarRegistro();
    EXPECT_EQ(contents(registerPath()), first + block());
}

TEST_F(RegisterFaults, AnImmutableFolderOrRegisterRefusesTheSave) {
    SKIP_UNLESS_ALLOWED(setImmutable(folder, true));
    immutable << folder;
    visit(QStringLiteral("Ana"), {Verdict::Pendiente});
    expectSaveFails(QStringLiteral("Cannot create file ") + registerPath());
    EXPECT_FALSE(QFileInfo::exists(registerPath()));

    ASSERT_EQ(setImmutable(folder, false), QString());
    GuardarRegistro();
    const QByteArray first = contents(registerPath());

    // A register that can be read but not changed is appended to, never replaced: it refuses.
    visit(QStringLiteral("Luis"), {Verdict::Correcta});
    ASSERT_EQ(setImmutable(registerPath(), true), QString());
    immutable << registerPath();
    expectSaveFails(QStringLiteral("File access denied"));
    EXPECT_EQ(contents(registerPath()), first);

    ASSERT_EQ(setImmutable(registerPath(), false), QString());
    GuardarRegistro();
    EXPECT_EQ(contents(registerPath()), first + block());
}

TEST_F(RegisterFaults, ARegisterThatIsThereButCannotBeReadIsNeverReplaced) {
    // A socket at the register's name: it exists, and opening it fails for reading and writing.
    SKIP_UNLESS_ALLOWED(makeSocket(registerPath()));
    visit(QStringLiteral("Ana"), {Verdict::Correcta, Verdict::Pendiente});
    expectSaveFails(QStringLiteral("File access denied"));
    EXPECT_FALSE(QFileInfo(registerPath()).isFile());

    // A link to a folder that is gone: the link is there, so the new register cannot be created
    // in its place, and nothing is created at its far end.
    ASSERT_TRUE(QFile::remove(registerPath()));
    const QString gone = temp.filePath(QStringLiteral("ya_no_existe/registro.csv"));
    ASSERT_TRUE(QFile::link(gone, registerPath()));
    expectSaveFails(QStringLiteral("Cannot create file ") + registerPath());
    EXPECT_TRUE(QFileInfo(registerPath()).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(gone));

    ASSERT_TRUE(QFile::remove(registerPath()));
    GuardarRegistro();
    EXPECT_EQ(contents(registerPath()), block());
}

TEST_F(RegisterFaults, AFifoAtTheRegistersNameDoesNotHangTheClosing) {
    SKIP_UNLESS_ALLOWED(makeFifo(registerPath()));
    visit(QStringLiteral("Ana"), {Verdict::Correcta});
    const QStringList before = Registro->lines();
    auto save = std::async(std::launch::async, []() -> QString {
        try {
            GuardarRegistro();
        } catch (const ToolkitError& e) {
            return e.message();
        }
        return QStringLiteral("(saved)");
    });
    if (save.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        // Let the blocked open go on, so that the test ends.
        QFile writer(registerPath());
        writer.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        writer.close();
        save.wait();
        FAIL() << "the save waited on the FIFO for a writer";
    }
    EXPECT_EQ(save.get(), QStringLiteral("File access denied"));
    EXPECT_EQ(Registro->lines(), before);

    ASSERT_TRUE(QFile::remove(registerPath()));
    GuardarRegistro();
    EXPECT_EQ(contents(registerPath()), block());
}

TEST_F(RegisterFaults, ADiskThatFillsDuringTheAppendLeavesTheRegisterAsItWas) {
    SKIP_UNLESS_ALLOWED(mountSmallDisk(64 * 1024));
    // An older register that an editor ended with an end-of-file byte.
    const QByteArray old =
        "Eva,06/12/2026,El_volcan\r\n" + kColumns + "Eva,1,1,2,Correcta,si\r\n\x1A";
    write(registerPath(), old);

    // A long visit, and one free page: the write stops part of the way through.
    visit(QStringLiteral("Ana"), {});
    for (int i = 0; i < 400; ++i)
        answer(i % 3 == 0 ? Verdict::Incorrecta : Verdict::Correcta);
    ASSERT_GT(block().size(), 8192);
    const QString filler = fillDisk(folder, 4096);
    ASSERT_FALSE(filler.isEmpty());
    expectSaveFails(QStringLiteral("Disk full"));
    EXPECT_EQ(contents(registerPath()), old);

    // A second closing on the still full disk fails the same way and changes nothing.
    expectSaveFails(QStringLiteral("Disk full"));
    EXPECT_EQ(contents(registerPath()), old);

    ASSERT_TRUE(QFile::remove(filler));
    GuardarRegistro();
    EXPECT_EQ(contents(registerPath()), old.chopped(1) + block());
}

TEST_F(RegisterFaults, ANewRegisterOnAFullDiskIsNotLeftBehind) {
    SKIP_UNLESS_ALLOWED(mountSmallDisk(64 * 1024));
    visit(QStringLiteral("Ana"), {Verdict::Correcta, Verdict::Incorrecta, Verdict::Pendiente});
    const QString filler = fillDisk(folder, 0);
    ASSERT_FALSE(filler.isEmpty());
    expectSaveFails(QStringLiteral("Disk full"));
    EXPECT_FALSE(QFileInfo::exists(registerPath()));

    ASSERT_TRUE(QFile::remove(filler));
    GuardarRegistro();
    EXPECT_EQ(contents(registerPath()), block());
}

TEST_F(RegisterFaults, AnswersGivenAfterAFailedClosingAreSavedWithTheRestOnce) {
    visit(QStringLiteral("Ana"), {Verdict::Correcta});
    GuardarRegistro();
    const QByteArray first = contents(registerPath());

    // Luis answers question 1 wrong; his closing fails twice, half-way through different lines.
    visit(QStringLiteral("Luis"), {Verdict::Incorrecta, Verdict::Pendiente});
    for (const qint64 room : {qint64(10), qint64(60)}) {
        FileSizeLimit limit(first.size() + room);
        SKIP_UNLESS_ALLOWED(limit.reason());
        expectSaveFails(QStringLiteral("Disk full"));
        EXPECT_EQ(contents(registerPath()), first);
    }

    // The window stayed open: he answers question 1 again, right this time, which is not his
    // first attempt; and another question at the first try.
    AnotarJuicio(2, Verdict::Correcta, 2, QStringLiteral("1"), window);
    answer(Verdict::Correcta);
    GuardarRegistro();
    EXPECT_EQ(contents(registerPath()), first + "Luis,07/12/2026,El_volcan\r\n" + kColumns +
                                            "Luis,2,1,1,Incorrecta\r\n"
                                            "Luis,2,2,1,Pendiente\r\n"
                                            "Luis,2,1,2,Correcta\r\n"
                                            "Luis,2,3,1,Correcta,si\r\n");
    EXPECT_EQ(NumCorrectas, 2);
    EXPECT_EQ(NumIncorrectas, 1);
    EXPECT_EQ(NumPendientes, 1);
}

// Another program writes where this save's lines went, between the append and the read-back, as
// on a share whose client let two programs hold the lock: the lines are appended again at the new
// end, and the save reports success only once they are there; after a few tries it fails, and the
// visit and its journal are kept for the next closing.
TEST_F(RegisterFaults, LinesOverwrittenByAnotherWriterAreWrittenAgainOrTheSaveFails) {
    struct Case {
        bool registerThere;
        int overwrites;
        bool saved;
    };
    for (const Case c : {Case{false, 1, true}, Case{true, 3, true}, Case{true, 100, false}}) {
        SCOPED_TRACE(c.overwrites);
        const QByteArray earlier =
            c.registerThere ? "Eva,06/12/2026,El_volcan\r\n" + kColumns : QByteArray();
        QFile::remove(registerPath());
        if (c.registerThere)
            write(registerPath(), earlier);
        visit(QStringLiteral("Ana"), {Verdict::Correcta, Verdict::Incorrecta});
        const QByteArray ours = block();
        const QByteArray theirs = QByteArray(ours).replace("Ana", "Bea");
        int left = c.overwrites;
        SetRegisterReadBackHook([&](const QString& path, qint64 at) {
            if (left == 0)
                return;
            --left;
            QFile other(path);
            ASSERT_TRUE(other.open(QIODevice::ReadWrite));
            other.seek(at);
            other.write(theirs);
        });
        const int writtenOver = std::min(c.overwrites, 4);
        if (c.saved) {
            GuardarRegistro();
            EXPECT_EQ(contents(registerPath()), earlier + theirs.repeated(writtenOver) + ours);
        } else {
            expectSaveFails(QStringLiteral("No se ha podido guardar el registro \"%1\": otro "
                                           "programa escribía en él al mismo tiempo. Inténtelo "
                                           "de nuevo")
                                .arg(registerPath()));
            EXPECT_EQ(contents(registerPath()), earlier + theirs.repeated(writtenOver));
            EXPECT_TRUE(QFileInfo::exists(VisitJournal::path()));
        }
    }
}

} // namespace
