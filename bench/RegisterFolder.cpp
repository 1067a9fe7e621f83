#include "bench/RegisterFolder.h"

#include <QDate>
#include <QFile>
#include <QMap>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <memory>

#include <sys/resource.h>

namespace {

constexpr int kVisitsPerRegister = 4;
constexpr int kAnswersPerVisit = 25;
constexpr int kStudents = 30;

QByteArray studentName(int n) {
    // Some names hold a comma and are quoted, as the student's program writes them.
    return n % 7 == 0 ? "\"P\xE9rez, Alumno " + QByteArray::number(n) + '"'
                      : "Alumno " + QByteArray::number(n);
}

QByteArray registerBytes(QRandomGenerator& random, const QByteArray& date) {
    QByteArray bytes;
    bytes.reserve(3000);
    for (int v = 0; v < kVisitsPerRegister; ++v) {
        const QByteArray name = studentName(random.bounded(kStudents));
        bytes += name + ',' + date + ",Leccion\r\n";
        bytes += "Nombre,Secci\xF3n,Cuesti\xF3n,Respuesta,Juicio,1er intento\r\n";
        for (int a = 0; a < kAnswersPerVisit; ++a) {
            const int answer = random.bounded(5);
            bytes += name + ',' + QByteArray::number(1 + random.bounded(5)) + ',' +
                     QByteArray::number(1 + random.bounded(10)) + ',' + QByteArray::number(answer) +
                     ',';
            bytes += answer == 1 ? "Correcta,si" : answer == 0 ? "Pendiente" : "Incorrecta";
            bytes += "\r\n";
        }
    }
    return bytes;
}

// The lesson's key: five sections of ten questions, answer 1 right and 2 to 4 wrong, so that
// the marks and the item analysis have their work to do.
QByteArray keyBytes() {
    QByteArray bytes;
    for (int s = 1; s <= 5; ++s) {
        bytes += ".Secci\xF3n " + QByteArray::number(s) + "\r\n";
        for (int q = 1; q <= 10; ++q)
            bytes += ".cPregunta\r\n.rA\r\n.bBien\r\n.rB\r\n.mNo\r\n.rC\r\n.mNo\r\n.rD\r\n.mNo\r\n";
    }
    return bytes;
}

} // namespace

const QString& GeneratedRegisterFolder(int lessons, int daysPerLesson) {
    static QMap<std::pair<int, int>, std::shared_ptr<QTemporaryDir>> made;
    static QMap<std::pair<int, int>, QString> paths;
    const std::pair key(lessons, daysPerLesson);
    if (!made.contains(key)) {
        auto dir = std::make_shared<QTemporaryDir>();
        QRandomGenerator random(7);
        const QDate first(2025, 1, 1);
        for (int lesson = 0; lesson < lessons; ++lesson) {
            QFile key(dir->filePath(QStringLiteral("Leccion%1_CRJ.TXT")
                                        .arg(lesson, lessons > 100 ? 3 : 2, 10, QLatin1Char('0'))));
            key.open(QIODevice::WriteOnly);
            key.write(keyBytes());
            for (int day = 0; day < daysPerLesson; ++day) {
                const QDate date = first.addDays(day);
                QFile file(
                    dir->filePath(QStringLiteral("Leccion%1%2_reg.csv")
                                      .arg(lesson, lessons > 100 ? 3 : 2, 10, QLatin1Char('0'))
                                      .arg(date.toString(QStringLiteral("ddMMyyyy")))));
                file.open(QIODevice::WriteOnly);
                file.write(
                    registerBytes(random, date.toString(QStringLiteral("dd/MM/yyyy")).toLatin1()));
            }
        }
        made.insert(key, dir);
        paths.insert(key, dir->path());
    }
    return paths[key];
}

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}
