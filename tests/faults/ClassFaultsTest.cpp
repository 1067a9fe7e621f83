// A class saving on a share where every lock may fail, with the faults preloaded by ClassFaults:
// byte-range locks that exclude nobody, slow writes, and (a) half the computers' clocks a minute
// ahead, (b) a released lock rushed by the whole class, (c) lock files removed late. Whatever
// the lock gets wrong, every visit must be in the register whole and once.
#include "tests/study/ClassSaving.h"

#include "study/RegisterLock.h"

#include <QFileInfo>

namespace {

struct Fault {
    const char* name;
    int clockAheadS; // for every other program
    bool released;   // a released lock waits at the start
    int lockPauseUs;
    int writeDelayUs;
};

constexpr Fault kFaults[] = {
    {"half the clocks a minute ahead", 60, false, 0, 10000},
    {"a released lock rushed", 0, true, 3000, 5000},
    {"locks removed late", 0, false, 20000, 2000},
};

std::unique_ptr<QProcess> saver(const QString& folder, int i, int answers, const Fault& fault) {
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
              QString::number(answers)});
    return p;
}

class ClassFaults : public ClassFolder {};

TEST_F(ClassFaults, EveryVisitIsSavedWholeAndOnceWhereLocksFail) {
    constexpr int kPrograms = 30;
    constexpr int kAnswers = 20;
    constexpr int kRounds = 5;
    const QString reg = ClassRegisterPath(dir.path());
    for (const Fault& fault : kFaults) {
        for (int round = 0; round < kRounds; ++round) {
            SCOPED_TRACE(testing::Message() << fault.name << ", round " << round);
            QFile::remove(reg);
            if (fault.released) {
                QFile lock(RegisterLockPath(reg));
                ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
                lock.write("1\notro\nequipo\nsoltado\n");
                lock.flush();
                ASSERT_TRUE(lock.setFileTime(RegisterLockReleasedTime(),
                                             QFileDevice::FileModificationTime));
            }
            std::vector<std::unique_ptr<QProcess>> programs;
            for (int i = 0; i < kPrograms; ++i)
                programs.push_back(saver(dir.path(), i, kAnswers, fault));
            SaveAllAtOnce(programs, 120000);
            ExpectEachVisitOnce(dir.path(), kPrograms, kAnswers);
            EXPECT_EQ(filesLeft(), QStringList{QFileInfo(reg).fileName()});
        }
    }
}

} // namespace
