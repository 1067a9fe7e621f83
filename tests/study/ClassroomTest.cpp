// A class on one shared folder: many programs save to the same register at the same moment, and
// one of them may die holding the lock.
#include "ClassVisit.h"

#include "Register.h"
#include "RegisterLock.h"
#include "ToolkitError.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// The bytes the visit of PlayClassVisit writes.
QByteArray visitBlock(const QString& folder, const QString& alumno, int answers) {
    PlayClassVisit(folder, alumno, answers);
    const QByteArray bytes = RegisterBytes(Registro->lines());
    EndVisit();
    return bytes;
}

class Classroom : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    void TearDown() override {
        EndVisit();
        Clock::setNow(std::nullopt);
        Clock::setShortDatePattern(std::nullopt);
    }
    QTemporaryDir dir;
};

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
    for (auto& p : programs)
        ASSERT_TRUE(p->waitForStarted());
    // Each waits, its visit played, for this line: then all of them save at once.
    for (auto& p : programs) {
        p->write("\n");
        p->waitForBytesWritten();
    }
    for (auto& p : programs) {
        ASSERT_TRUE(p->waitForFinished(60000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
    }

    const QByteArray reg = contents(ClassRegisterPath(dir.path()));
    qsizetype expectedSize = 0;
    for (int i = 0; i < kPrograms; ++i) {
        const QByteArray block =
            visitBlock(dir.path(), QStringLiteral("Alumno%1").arg(i), kAnswers);
        expectedSize += block.size();
        EXPECT_EQ(reg.count(block), 1) << "visit " << i;
    }
    EXPECT_EQ(reg.size(), expectedSize);
    EXPECT_TRUE(reg.endsWith("\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("El_volcan07122026_reg.csv")});
}

// Its lock is busy for the stale time, as nobody opens a young lock to ask whose it is; then the
// next save takes it over.
TEST_F(Classroom, TheLockOfAKilledProgramIsTakenOverOnceStale) {
    const QString reg = ClassRegisterPath(dir.path());
    QProcess holder;
    holder.start(QStringLiteral(DORVALIA_REGISTER_SAVER), {QStringLiteral("hold"), reg});
    ASSERT_TRUE(holder.waitForReadyRead(20000));
    ASSERT_EQ(holder.readLine().trimmed(), "locked");
    holder.kill();
    ASSERT_TRUE(holder.waitForFinished());
    QFile left(RegisterLockPath(reg));
    ASSERT_TRUE(left.open(QIODevice::ReadWrite));
    ASSERT_TRUE(left.setFileTime(QDateTime::currentDateTimeUtc().addMSecs(-kRegisterLockStaleMs),
                                 QFileDevice::FileModificationTime));
    left.close();

    PlayClassVisit(dir.path(), QStringLiteral("Ana"), 3);
    GuardarRegistro();
    EXPECT_EQ(contents(reg), RegisterBytes(Registro->lines()));
    // Nothing of the lock stays in the lesson folder.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("El_volcan07122026_reg.csv")});
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
    EXPECT_EQ(contents(reg), RegisterBytes(lines));
}

} // namespace
