#pragma once

#include <QByteArrayView>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstdio>
#include <cstdlib>

// What the targets share: a check that stops the run, and one scratch file per process for the
// readers that take a path.

// A broken property of the code under test: report it and abort, so that libFuzzer keeps the
// input and the replay run fails.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// A file in the temporary folder that holds the current input; it is removed when the process
// ends normally.
class ScratchFile {
public:
    explicit ScratchFile(const QString& name)
        : path_(QDir::temp().filePath(QStringLiteral("dorvalia-fuzz-%1-%2")
                                          .arg(QCoreApplication::applicationPid())
                                          .arg(name))) {}
    ~ScratchFile() { QFile::remove(path_); }

    const QString& path() const { return path_; }

    void write(QByteArrayView bytes) const {
        QFile file(path_);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(bytes.data(), bytes.size()) == bytes.size());
    }

private:
    QString path_;
};
