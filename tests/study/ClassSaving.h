#pragma once

// What the tests of a class saving on one folder share: the programs started with their visits
// played, let go at once and awaited, and the register they leave checked against the visits.
#include "study/Register.h"
#include "tests/study/ClassVisit.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

inline QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// The bytes the visit of PlayClassVisit writes.
inline QByteArray ClassVisitBytes(const QString& folder, const QString& alumno, int answers) {
    PlayClassVisit(folder, alumno, answers);
    const QByteArray bytes = RegisterBytes(Registro->lines());
    EndVisit();
    return bytes;
}

class ClassFolder : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    void TearDown() override {
        EndVisit();
        Clock::setNow(std::nullopt);
        Clock::setShortDatePattern(std::nullopt);
    }
    QStringList filesLeft() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }
    QTemporaryDir dir;
};

// Each program waits, its visit played, for a line: then all of them save at once.
inline void SaveAllAtOnce(const std::vector<std::unique_ptr<QProcess>>& programs, int timeoutMs) {
    for (const auto& p : programs)
        ASSERT_TRUE(p->waitForStarted());
    for (const auto& p : programs) {
        p->write("\n");
        p->waitForBytesWritten();
    }
    for (const auto& p : programs) {
        ASSERT_TRUE(p->waitForFinished(timeoutMs));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
    }
}

// The register holds the visit of each program "AlumnoN" once, whole, and nothing else.
inline void ExpectEachVisitOnce(const QString& folder, int programs, int answers) {
    const QByteArray reg = FileBytes(ClassRegisterPath(folder));
    qsizetype expectedSize = 0;
    for (int i = 0; i < programs; ++i) {
        const QByteArray block =
            ClassVisitBytes(folder, QStringLiteral("Alumno%1").arg(i), answers);
        expectedSize += block.size();
        EXPECT_EQ(reg.count(block), 1) << "visit " << i;
    }
    EXPECT_EQ(reg.size(), expectedSize);
    EXPECT_TRUE(reg.endsWith("\r\n"));
}
