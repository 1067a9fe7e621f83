// Visits left unsaved are offered back at the next start, oldest first, never the one still
// going on; one whose register cannot take it now stays for the next start.
#include "tests/study/ClassVisit.h"

#include "study/Journal.h"
#include "study/Recovery.h"
#include "study/Register.h"
#include "tests/lesson/Fakes.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class FakeErrorBox : public ErrorBox {
public:
    QStringList errors;
    void showError(const QString& message) override { errors << message; }
};

QStringList journals(const QString& sub = QString()) {
    return QDir(JournalFolder() + sub).entryList({QStringLiteral("visita-*.txt")}, QDir::Files);
}

// A visit that its program left unsaved: the next visit's start lets its journal go.
QByteArray leftUnsaved(const QString& folder, const QString& alumno, int answers) {
    PlayClassVisit(folder, alumno, answers);
    const QByteArray bytes = RegisterBytes(Registro->lines());
    StartVisit();
    return bytes;
}

class Recovery : public ::testing::Test {
protected:
    void SetUp() override { QDir(JournalFolder()).removeRecursively(); }
    void TearDown() override {
        EndVisit();
        Clock::setNow(std::nullopt);
        Clock::setShortDatePattern(std::nullopt);
    }
    QTemporaryDir dir;
};

TEST_F(Recovery, UnfinishedVisitsAreOfferedOldestFirstAndKeptUntilSavedOrSetAside) {
    const QString stick = dir.filePath(QStringLiteral("usb"));
    ASSERT_TRUE(QDir().mkpath(stick));
    const QByteArray ana = leftUnsaved(stick, QStringLiteral("Ana"), 2);
    leftUnsaved(dir.path(), QString(), 1);
    PlayClassVisit(dir.path(), QStringLiteral("Eva"), 1); // still going on: never offered
    // The stick is gone: Ana's visit cannot be saved now. The nameless one is set aside.
    ASSERT_TRUE(QDir(stick).removeRecursively());
    FakePrompter prompter;
    FakeErrorBox errors;
    prompter.answers = {true, false};
    OfferUnfinishedVisits(prompter, errors);
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].caption, QStringLiteral("Visita sin terminar"));
    EXPECT_EQ(prompter.shown[0].text,
              QStringLiteral("La visita de Ana a la lección El_volcan, empezada el 07/12/2026, "
                             "no se terminó: tiene 2 respuestas.\n\r¿Guardarla en el registro?"));
    EXPECT_TRUE(prompter.shown[1].text.startsWith(
        QStringLiteral("La visita de un alumno sin nombre a la lección El_volcan")));
    EXPECT_EQ(errors.errors,
              QStringList{QStringLiteral("Cannot create file ") + ClassRegisterPath(stick)});
    EXPECT_FALSE(QFile::exists(ClassRegisterPath(dir.path())));
    EXPECT_EQ(journals(QStringLiteral("/descartadas")).size(), 1);
    EXPECT_EQ(journals().size(), 2); // Ana's and Eva's

    // At the next start the stick is back.
    ASSERT_TRUE(QDir().mkpath(stick));
    prompter.answers = {true};
    OfferUnfinishedVisits(prompter, errors);
    EXPECT_EQ(prompter.shown.size(), 3u);
    QFile saved(ClassRegisterPath(stick));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), ana);
    EXPECT_EQ(journals().size(), 1);
}

// After a restart the killed program's number may be this one's: its journal is offered still.
TEST_F(Recovery, ALockLeftUnderThisProgramsOwnNumberIsADeadOnes) {
    const QByteArray ana = leftUnsaved(dir.path(), QStringLiteral("Ana"), 1);
    const QString lock = JournalFolder() + u'/' + journals().value(0) + QStringLiteral(".lock");
    QByteArray left;
    {
        QLockFile mine(lock);
        ASSERT_TRUE(mine.tryLock(0));
        QFile written(lock);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        left = written.readAll();
    }
    QFile file(lock);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(left) == left.size());
    file.close();
    FakePrompter prompter;
    FakeErrorBox errors;
    prompter.answers = {true};
    OfferUnfinishedVisits(prompter, errors);
    ASSERT_EQ(prompter.shown.size(), 1u);
    QFile saved(ClassRegisterPath(dir.path()));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), ana);
    EXPECT_TRUE(journals().isEmpty());
}

TEST_F(Recovery, ALineThatACrashCutShortIsNotPartOfTheVisit) {
    PlayClassVisit(dir.path(), QStringLiteral("Ana"), 3);
    const QString path = JournalFolder() + u'/' + journals().value(0);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("Ana,2,4,1,Corr");
    file.close();
    const std::optional<JournalContents> j = ReadJournal(path);
    ASSERT_TRUE(j);
    EXPECT_EQ(j->bytes, RegisterBytes(Registro->lines()));
    EXPECT_EQ(j->answers, 3);
}

// Recovered after midnight, a visit goes where its closing would have saved it then: to the
// register of the day of saving, its visit line still dated the day it began.
TEST_F(Recovery, AVisitRecoveredAfterMidnightGoesToTheRegisterOfTheDayOfSaving) {
    const QByteArray ana = leftUnsaved(dir.path(), QStringLiteral("Ana"), 2);
    Clock::setNow(QDateTime(QDate(2026, 12, 8), QTime(0, 1)));
    FakePrompter prompter;
    FakeErrorBox errors;
    prompter.answers = {true};
    OfferUnfinishedVisits(prompter, errors);
    EXPECT_EQ(RegisterPathForSaving(dir.path() + u'/', QStringLiteral("El_volcan")),
              dir.filePath(QStringLiteral("El_volcan08122026_reg.csv")));
    QFile saved(dir.filePath(QStringLiteral("El_volcan08122026_reg.csv")));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), ana);
}

} // namespace
