// Every test program keeps the journals of its visits in a data folder of its own, and its
// settings (the remembered reading size, the voice) in a settings folder of its own, made fresh
// for the run and removed after it: never in the profile of whoever runs the tests, never shared
// with a Dorvalia the same user runs meanwhile or another run of the suite, and never left over
// for the next run's start window to offer.
#include <QDir>
#include <QTemporaryDir>

namespace {

struct TestDataHome {
    QTemporaryDir dir;
    TestDataHome() {
        for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"}) {
            const QString folder = dir.filePath(QString::fromLatin1(name).toLower());
            QDir().mkpath(folder);
            qputenv(name, folder.toLocal8Bit());
        }
    }
};

const TestDataHome testDataHome;

} // namespace
