// Every test program keeps the journals of its visits and its settings in a data folder of its own,
// made fresh for the run and removed after it: never in the profile of whoever runs the tests, and
// never left over for the next run's start window to offer.
#include <QTemporaryDir>

namespace {

struct TestDataHome {
    QTemporaryDir dir;
    TestDataHome() {
        qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
        // The settings too (the remembered folder of registers, the reading's size).
        qputenv("XDG_CONFIG_HOME", (dir.path() + QStringLiteral("/config")).toLocal8Bit());
    }
};

const TestDataHome testDataHome;

} // namespace
