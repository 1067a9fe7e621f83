// A class saving on a share where every lock may fail, with the faults preloaded by ClassFaults:
// byte-range locks that exclude nobody, slow writes, and (a) half the computers' clocks a minute
// ahead, (b) a released lock rushed by the whole class, (c) lock files removed late. Whatever
// the lock gets wrong, no visit a program reported saved may lose a line.
#include "ClassSaving.h"

#include "RegisterLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

struct Fault {
    const char* name;
    int clockAheadS;   // for every other program
    bool releasedLock; // a released lock waits at the start
    int lockPauseUs;
    int writeDelayUs;
};

constexpr Fault kFaults[] = {
    {"half the clocks a minute ahead", 60, false, 0, 5000},
    {"a released lock rushed", 0, true, 3000, 2000},
    {"locks removed late", 0, false, 20000, 2000},
};

constexpr int kPrograms = 30;
constexpr int kAnswers = 20;
constexpr int kRounds = 3;

std::unique_ptr<QProcess> saver(const QString& folder, int i, const Fault& fault) {
    auto p = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(DORVALIA_CLASS_FAULTS));
    env.insert(QStringLiteral("ASAN_OPTIONS"), env.value(QStringLiteral("ASAN_OPTIONS")) +
                                                   QStringLiteral(":verify_asan_link_order=0"));
    env.insert(QStringLiteral("DORVALIA_CLOCK_AHEAD_S"),
               QString::number(i % 2 ? fault.clockAheadS : 0));
    env.insert(QStringLiteral("DORVALIA_SLOW_FOLDER"), QDir(folder).canonicalPath());
    env.insert(QStringLiteral("DORVALIA_WRITE_DELAY_US"), QString::number(fault.writeDelayUs));
    env.insert(QStringLiteral("DORVALIA_LOCK_PAUSE_US"), QString::number(fault.lockPauseUs));
    p->setProcessEnvironment(env);
    p->start(QStringLiteral(DORVALIA_REGISTER_SAVER),
             {QStringLiteral("save"), folder, QStringLiteral("Alumno%1").arg(i),
              QString::number(kAnswers)});
    return p;
}

class ClassFaults : public ClassFolder {};

TEST_F(ClassFaults, NoVisitReportedSavedLosesALineWhereLocksFail) {
    std::vector<QByteArray> visits;
    for (int i = 0; i < kPrograms; ++i)
        visits.push_back(ClassVisitBytes(dir.path(), QStringLiteral("Alumno%1").arg(i), kAnswers));
    const QString reg = ClassRegisterPath(dir.path());
    for (const Fault& fault : kFaults) {
        for (int round = 0; round < kRounds; ++round) {
            SCOPED_TRACE(testing::Message() << fault.name << ", round " << round);
            QFile::remove(reg);
            QFile::remove(RegisterLockPath(reg));
            QDir(dir.filePath(QStringLiteral(".dorvalia-visitas"))).removeRecursively();
            if (fault.releasedLock) {
                QFile lock(RegisterLockPath(reg));
                ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
                lock.write("1\notro\nequipo\nsoltado\n");
                lock.flush();
                ASSERT_TRUE(lock.setFileTime(RegisterLockReleasedTime(),
                                             QFileDevice::FileModificationTime));
            }
            std::vector<std::unique_ptr<QProcess>> programs;
            for (int i = 0; i < kPrograms; ++i)
                programs.push_back(saver(dir.path(), i, fault));
            for (const auto& p : programs) {
                ASSERT_TRUE(p->waitForStarted());
                p->write("\n");
                p->waitForBytesWritten();
            }
            int saved = 0;
            qsizetype kept = 0;
            for (const auto& p : programs) {
                ASSERT_TRUE(p->waitForFinished(120000));
                // Saved, or told the student the register was busy: nothing else.
                ASSERT_TRUE(p->exitCode() == 0 || p->exitCode() == 1)
                    << p->readAllStandardError().toStdString();
                saved += p->exitCode() == 0;
            }
            const QByteArray written = FileBytes(reg);
            for (int i = 0; i < kPrograms; ++i) {
                const qsizetype times = written.count(visits[i]);
                if (programs[i]->exitCode() == 0)
                    EXPECT_EQ(times, 1) << "visit " << i << " reported saved";
                else
                    EXPECT_LE(times, 1) << "visit " << i << " reported unsaved";
                kept += times * visits[i].size();
            }
            // Nothing but whole visits: no line of one written over another's.
            EXPECT_EQ(written.size(), kept);
            EXPECT_GT(saved, 0);
            EXPECT_EQ(filesLeft(), QStringList{QFileInfo(reg).fileName()});
        }
    }
}

} // namespace
