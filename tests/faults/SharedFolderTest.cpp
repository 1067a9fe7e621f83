// A class saving on folders that are not local disks: a share where a file that anybody holds
// open cannot be removed (as on SMB and Windows), and a folder where students may append to a
// register but not create files.
#include "tests/study/ClassSaving.h"

#include "study/RegisterLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <grp.h>
#include <unistd.h>

#include <memory>
#include <vector>

namespace {

// register_saver with removal refused while a file is open anywhere.
std::unique_ptr<QProcess> saver(const QStringList& args) {
    auto p = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(DORVALIA_BUSY_UNLINK));
    static QTemporaryDir marks;
    env.insert(QStringLiteral("DORVALIA_OPEN_MARKS"), marks.path());
    // A sanitized build wants its own runtime first among the preloaded libraries.
    env.insert(QStringLiteral("ASAN_OPTIONS"), env.value(QStringLiteral("ASAN_OPTIONS")) +
                                                   QStringLiteral(":verify_asan_link_order=0"));
    p->setProcessEnvironment(env);
    p->start(QStringLiteral(DORVALIA_REGISTER_SAVER), args);
    return p;
}

QByteArray answerOf(QProcess& p) {
    return p.waitForReadyRead(20000) ? p.readLine().trimmed() : QByteArray("(nothing)");
}

class SharedFolder : public ClassFolder {};

TEST_F(SharedFolder, ThirtyProgramsSaveAtOnceWhereOpenFilesCannotBeRemoved) {
    constexpr int kPrograms = 30;
    constexpr int kAnswers = 30;
    std::vector<std::unique_ptr<QProcess>> programs;
    for (int i = 0; i < kPrograms; ++i)
        programs.push_back(saver({QStringLiteral("save"), dir.path(),
                                  QStringLiteral("Alumno%1").arg(i), QString::number(kAnswers)}));
    SaveAllAtOnce(programs, 120000);
    ExpectEachVisitOnce(dir.path(), kPrograms, kAnswers);
    EXPECT_EQ(filesLeft(), QStringList{QStringLiteral("El_volcan07122026_reg.csv")});
}

// Another program keeps the lock file open while its owner releases it: the owner cannot remove
// it, marks it released, and the next save goes ahead at once instead of waiting out the stale
// time (or failing as busy).
TEST_F(SharedFolder, ALockKeptOpenOverItsReleaseDoesNotStopTheNextSave) {
    const QString reg = ClassRegisterPath(dir.path());
    const auto holder = saver({QStringLiteral("hold"), reg});
    ASSERT_EQ(answerOf(*holder), "locked");
    const auto opener = saver({QStringLiteral("open"), RegisterLockPath(reg)});
    ASSERT_EQ(answerOf(*opener), "open");
    holder->write("\n");
    ASSERT_EQ(answerOf(*holder), "released");
    // The share refused the removal: the file stays, dated long ago.
    ASSERT_TRUE(QFileInfo::exists(RegisterLockPath(reg)));
    EXPECT_LT(QFileInfo(RegisterLockPath(reg)).lastModified().date().year(), 2001);
    opener->write("\n");
    ASSERT_TRUE(opener->waitForFinished());

    const auto next =
        saver({QStringLiteral("save"), dir.path(), QStringLiteral("Ana"), QStringLiteral("3")});
    next->write("\n");
    ASSERT_TRUE(next->waitForFinished(20000));
    EXPECT_EQ(next->exitCode(), 0) << next->readAllStandardError().toStdString();
    EXPECT_EQ(FileBytes(reg), ClassVisitBytes(dir.path(), QStringLiteral("Ana"), 3));
    EXPECT_EQ(filesLeft(), QStringList{QStringLiteral("El_volcan07122026_reg.csv")});
    holder->kill();
    holder->waitForFinished();
}

// A folder where a student may append to the register but not create files: no lock file can be
// made, and the save goes through under the register's byte-range lock. Root may create files
// anywhere, so the saving program runs as an ordinary user.
TEST_F(SharedFolder, AFolderThatTakesNoNewFilesStillTakesTheSave) {
    const QString reg = ClassRegisterPath(dir.path());
    const QByteArray earlier = ClassVisitBytes(dir.path(), QStringLiteral("Eva"), 2);
    {
        QFile file(reg);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(earlier);
    }
    const bool root = ::geteuid() == 0;
    const QFile::Permissions everyone = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther |
                                        QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    ASSERT_TRUE(QFile::setPermissions(reg, everyone));
    const QFile::Permissions folderMode = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                          QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    ASSERT_TRUE(
        QFile::setPermissions(dir.path(), root ? folderMode | QFile::WriteOwner : folderMode));

    constexpr uid_t kNobody = 65534;
    constexpr int kCouldNotDrop = 77;
    // The checkout may lie in a folder that only its owner can enter: the dropped user runs a copy
    // of the saving program from a folder open to all.
    QTemporaryDir open;
    QString saverProgram = QStringLiteral(DORVALIA_REGISTER_SAVER);
    if (root) {
        const QFile::Permissions runnable = folderMode | QFile::WriteOwner | QFile::ExeOwner;
        const QString copy = open.filePath(QStringLiteral("register_saver"));
        ASSERT_TRUE(QFile::setPermissions(open.path(), runnable));
        ASSERT_TRUE(QFile::copy(saverProgram, copy));
        ASSERT_TRUE(QFile::setPermissions(copy, runnable));
        saverProgram = copy;
    }
    QProcess program;
    if (root)
        program.setChildProcessModifier([] {
            if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
                ::_exit(kCouldNotDrop);
        });
    program.start(saverProgram,
                  {QStringLiteral("save"), dir.path(), QStringLiteral("Ana"), QStringLiteral("4")});
    program.write("\n");
    ASSERT_TRUE(program.waitForFinished(20000));
    QFile::setPermissions(dir.path(), folderMode | QFile::WriteOwner);
    ASSERT_NE(program.exitCode(), kCouldNotDrop);
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    EXPECT_EQ(FileBytes(reg), earlier + ClassVisitBytes(dir.path(), QStringLiteral("Ana"), 4));
    EXPECT_EQ(filesLeft(), QStringList{QStringLiteral("El_volcan07122026_reg.csv")});
}

} // namespace
