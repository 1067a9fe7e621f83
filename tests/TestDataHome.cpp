// Every test program keeps the journals of its visits in a data folder of its own, made fresh for
// the run and removed after it: never in the profile of whoever runs the tests, and never left
// over for the next run's start window to offer.
#include <QTemporaryDir>

namespace {

struct TestDataHome {
    QTemporaryDir dir;
    TestDataHome() { qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit()); }
};

const TestDataHome testDataHome;

} // namespace
