// A class on one shared folder: many programs save to the same register at the same moment, and
// one of them may die holding the lock.
#include "tests/study/ClassSaving.h"

#include "platform/core/ToolkitError.h"
#include "study/RegisterLock.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class Classroom : public ClassFolder {};

TEST_F(Classroom, FiftyProgramsSavingAtOnceKeepEveryVisitWholeAndOnce) {
    constexpr int kPrograms = 50;
    constexpr int kAnswers = 30;
    std::vector<std::unique_ptr<QProcess>> programs;
    for (int i = 0; i < kPrograms; ++i) {
        auto p = std::make_unique<QProcess>();
        p->start(QStringLiteral(DORVALIA_REGISTER_SAVER),
                 {QStringLiteral("save"), dir.path(), QStringLiteral("Alumno%1").arg(i),
                  QString::number(kAnswers)});
        programs.push_back(std::move(p));
    }
    SaveAllAtOnce(programs, 60000);
    ExpectEachVisitOnce(dir.path(), kPrograms, kAnswers);
    EXPECT_EQ(filesLeft(), QStringList{QStringLiteral("El_volcan07122026_reg.csv")});
}

// Its lock is busy until this program has seen it unchanged for the stale time, as nobody opens a
// young lock to ask whose it is and the lock's own dates are another computer's; then the next
// save takes it over. Here this program's clock runs a second per look.
TEST_F(Classroom, TheLockOfAKilledProgramIsTakenOverOnceStale) {
    const QString reg = ClassRegisterPath(dir.path());
    QProcess holder;
    holder.start(QStringLiteral(DORVALIA_REGISTER_SAVER), {QStringLiteral("hold"), reg});
    ASSERT_TRUE(holder.waitForReadyRead(20000));
    ASSERT_EQ(holder.readLine().trimmed(), "locked");
    holder.kill();
    ASSERT_TRUE(holder.waitForFinished());
    qint64 looks = 0;
    SetRegisterLockClock([&looks] { return 1000 * looks++; });

    PlayClassVisit(dir.path(), QStringLiteral("Ana"), 3);
    GuardarRegistro();
    SetRegisterLockClock({});
    EXPECT_GE(looks, kRegisterLockStaleMs / 1000);
    EXPECT_EQ(FileBytes(reg), RegisterBytes(Registro->lines()));
    // Nothing of the lock stays in the lesson folder.
    EXPECT_EQ(filesLeft(), QStringList{QStringLiteral("El_volcan07122026_reg.csv")});
}

// A lock file seen busy at one save and replaced by another before the next is a new lock: its
// stale time starts again, so a program that waited out the first one does not take the fresh
// one at once.
TEST_F(Classroom, ALockFileReplacedBetweenTwoSavesIsWatchedAfresh) {
    const QString lock = RegisterLockPath(ClassRegisterPath(dir.path()));
    const auto makeLock = [&lock](const QByteArray& owner) {
        QFile file(lock);
        return file.open(QIODevice::WriteOnly) && file.write(owner) == owner.size();
    };
    ASSERT_TRUE(makeLock("uno\n"));
    qint64 now = 0;
    SetRegisterLockClock([&now] { return now; });
    QLockFile::LockError error = QLockFile::NoError;
    EXPECT_EQ(LockRegister(ClassRegisterPath(dir.path()), 0, &error), nullptr);
    ASSERT_TRUE(QFile::remove(lock));
    ASSERT_TRUE(makeLock("otro dueño\n"));
    now = kRegisterLockStaleMs;
    const auto taken = LockRegister(ClassRegisterPath(dir.path()), 0, &error);
    SetRegisterLockClock({});
    EXPECT_EQ(taken, nullptr);
    EXPECT_EQ(error, QLockFile::LockFailedError);
    EXPECT_EQ(FileBytes(lock), "otro dueño\n");
}

TEST_F(Classroom, ARegisterKeptBusyGivesASpanishErrorAndTheNextClosingSaves) {
    const QString reg = ClassRegisterPath(dir.path());
    QFile::remove(reg);
    QLockFile other(RegisterLockPath(reg));
    ASSERT_TRUE(other.tryLock(0));

    PlayClassVisit(dir.path(), QStringLiteral("Ana"), 2);
    const QStringList lines = Registro->lines();
    QString message;
    try {
        GuardarRegistro();
    } catch (const ToolkitError& e) {
        message = e.message();
    }
    EXPECT_EQ(message, QStringLiteral("El registro \"%1\" está ocupado por otro programa y no se "
                                      "ha podido guardar. Inténtelo de nuevo dentro de unos "
                                      "segundos.")
                           .arg(reg));
    EXPECT_EQ(Registro->lines(), lines);
    EXPECT_FALSE(QFile::exists(reg));

    other.unlock();
    GuardarRegistro();
    EXPECT_EQ(FileBytes(reg), RegisterBytes(lines));
}

} // namespace
