// One program of a class, for the tests and the benchmark of saves at the same moment.
//   register_saver save FOLDER NAME ANSWERS: plays the visit, waits for a line on its standard
//     input (so that all programs save at once), saves, and prints the save's milliseconds.
//   register_saver hold REGISTER: takes the register's lock, says "locked", and at a line on its
//     standard input releases it, says "released" and waits to be killed.
//   register_saver open FILE: opens the file for reading, says "open", and closes it and ends at a
//     line on its standard input, as another program on the share would keep it open meanwhile.
#include "tests/study/ClassVisit.h"

#include "platform/core/ToolkitError.h"
#include "study/Register.h"
#include "study/RegisterLock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <clocale>
#include <cstdio>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // The milliseconds it prints are read back as a number, whatever the desktop's language.
    std::setlocale(LC_NUMERIC, "C");
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("hold")) {
        const auto lock = LockRegister(args[2]);
        if (!lock)
            return 2;
        std::puts("locked");
        std::fflush(stdout);
        std::string release;
        std::getline(std::cin, release);
        lock->unlock();
        std::puts("released");
        std::fflush(stdout);
        for (;;)
            QThread::sleep(60);
    }
    if (args.size() == 3 && args[1] == QLatin1String("open")) {
        QFile file(args[2]);
        if (!file.open(QIODevice::ReadOnly))
            return 2;
        std::puts("open");
        std::fflush(stdout);
        std::string close;
        std::getline(std::cin, close);
        return 0;
    }
    if (args.size() != 5 || args[1] != QLatin1String("save"))
        return 2;
    PlayClassVisit(args[2], args[3], args[4].toInt());
    std::string go;
    std::getline(std::cin, go);
    QElapsedTimer timer;
    timer.start();
    try {
        GuardarRegistro();
    } catch (const ToolkitError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::printf("%.3f\n", double(timer.nsecsElapsed()) / 1e6);
    return 0;
}
