// The journal of a visit: kept on the disk from the first answer, removed by the closing that
// saves the register, and offered back at the next start when the visit never closed.
#include "ClassVisit.h"

#include "Fakes.h"
#include "Journal.h"
#include "Recovery.h"
#include "Register.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class FakeErrorBox : public ErrorBox {
public:
    QStringList errors;
    void showError(const QString& message) override { errors << message; }
};

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

QStringList journals(const QString& sub = QString()) {
    return QDir(JournalFolder() + sub)
        .entryList({QStringLiteral("visita-*.txt")}, QDir::Files, QDir::Name);
}

class JournalTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QDir(JournalFolder()).removeRecursively();
    }
    void TearDown() override {
        EndVisit();
        Clock::setNow(std::nullopt);
        Clock::setShortDatePattern(std::nullopt);
    }
    // A visit that its program left unsaved: the next visit's start lets its journal go.
    QByteArray leftUnsaved(const QString& folder, const QString& alumno, int answers) {
        PlayClassVisit(folder, alumno, answers);
        const QByteArray bytes = RegisterBytes(Registro->lines());
        StartVisit();
        return bytes;
    }
    QTemporaryDir dir;
};

TEST_F(JournalTest, TheJournalFollowsEveryAnswerUntilTheClosingSavesTheVisit) {
    PlayClassVisit(dir.path(), QStringLiteral("Ana"), 0);
    EXPECT_TRUE(journals().isEmpty());

    PlayClassVisit(dir.path(), QStringLiteral("Ana"), 4);
    ASSERT_EQ(journals().size(), 1);
    const QString path = JournalFolder() + u'/' + journals().front();
    std::optional<JournalContents> j = ReadJournal(path);
    ASSERT_TRUE(j);
    EXPECT_EQ(j->bytes, RegisterBytes(Registro->lines()));
    EXPECT_EQ(j->answers, 4);
    EXPECT_EQ(j->registerPath, ClassRegisterPath(dir.path()));
    EXPECT_EQ(j->alumno, QStringLiteral("Ana"));
    EXPECT_EQ(j->fecha, QStringLiteral("07/12/2026"));

    // A line that a crash cut short is not part of the visit.
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write("Ana,2,5,1,Corr");
    }
    EXPECT_EQ(ReadJournal(path)->bytes, RegisterBytes(Registro->lines()));

    GuardarRegistro();
    EXPECT_EQ(contents(ClassRegisterPath(dir.path())), RegisterBytes(Registro->lines()));
    EXPECT_TRUE(journals().isEmpty());
}

TEST_F(JournalTest, UnfinishedVisitsAreOfferedOldestFirstAndNeverTheRunningOne) {
    const QByteArray ana = leftUnsaved(dir.path(), QStringLiteral("Ana"), 2);
    leftUnsaved(dir.path(), QStringLiteral(""), 1);
    PlayClassVisit(dir.path(), QStringLiteral("Eva"), 1); // still going on

    FakePrompter prompter;
    FakeErrorBox errors;
    prompter.answers = {true, false};
    OfferUnfinishedVisits(prompter, errors);
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].caption, QStringLiteral("Visita sin terminar"));
    EXPECT_EQ(prompter.shown[0].text,
              QStringLiteral("La visita de Ana a la lección El_volcan, empezada el 07/12/2026, "
                             "no se terminó: tiene 2 respuestas.\n\r¿Guardarla en el registro?"));
    EXPECT_EQ(prompter.shown[1].text,
              QStringLiteral("La visita de un alumno sin nombre a la lección El_volcan, empezada "
                             "el 07/12/2026, no se terminó: tiene 1 respuesta.\n\r¿Guardarla en "
                             "el registro?"));
    EXPECT_TRUE(errors.errors.isEmpty());
    EXPECT_EQ(contents(ClassRegisterPath(dir.path())), ana);
    EXPECT_EQ(journals(QStringLiteral("/descartadas")).size(), 1);
    EXPECT_EQ(journals().size(), 1); // Eva's

    // Offered once: a second start asks nothing.
    OfferUnfinishedVisits(prompter, errors);
    EXPECT_EQ(prompter.shown.size(), 2u);
}

TEST_F(JournalTest, AVisitWhoseRegisterCannotTakeItIsOfferedAgain) {
    const QString stick = dir.filePath(QStringLiteral("usb"));
    ASSERT_TRUE(QDir().mkpath(stick));
    const QByteArray ana = leftUnsaved(stick, QStringLiteral("Ana"), 3);
    ASSERT_TRUE(QDir(stick).removeRecursively());

    FakePrompter prompter;
    FakeErrorBox errors;
    prompter.answers = {true};
    OfferUnfinishedVisits(prompter, errors);
    EXPECT_EQ(errors.errors,
              QStringList{QStringLiteral("Cannot create file ") + ClassRegisterPath(stick)});
    EXPECT_EQ(journals().size(), 1);

    ASSERT_TRUE(QDir().mkpath(stick));
    prompter.answers = {true};
    OfferUnfinishedVisits(prompter, errors);
    EXPECT_EQ(contents(ClassRegisterPath(stick)), ana);
    EXPECT_TRUE(journals().isEmpty());
}

} // namespace
