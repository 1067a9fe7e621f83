#include "tests/windows/LessonFixture.h"

#include "platform/core/Ansi.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QTimer>

namespace Fixture {

namespace {
QByteArray rtfEscape(const QString& text) {
    QByteArray out;
    for (QChar c : text) {
        const QByteArray b = stringToAnsi(QString(c));
        const auto byte = static_cast<unsigned char>(b.at(0));
        if (byte >= 0x80)
            out += "\\'" + QByteArray::number(byte, 16);
        else
            out += b;
    }
    return out;
}
} // namespace

QByteArray lessonText(const QStringList& markers) {
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20\n";
    for (const QString& marker : markers) {
        rtf += "{\\b " + rtfEscape(marker) + "}\\par\n";
        for (int p = 1; p <= 25; ++p)
            rtf += "P\\'e1rrafo " + QByteArray::number(p) + " de " + rtfEscape(marker) +
                   ": texto de relleno para que la lectura tenga largo.\\par\n";
    }
    return rtf + "}\n";
}

QByteArray keyText(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += stringToAnsi(line) + "\r\n";
    return bytes;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void whenModal(QDialog* dialog, std::function<void()> steps) {
    QTimer::singleShot(0, dialog, [dialog, steps = std::move(steps)] {
        // What the showing posted (the lesson window's opening) runs first.
        QCoreApplication::sendPostedEvents();
        steps();
        if (dialog->isVisible())
            dialog->done(QDialog::Rejected);
    });
}

} // namespace Fixture
