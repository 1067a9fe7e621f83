// Prints the plain text that the viewer shows for a document file: UTF-8, one paragraph (or table
// cell) a line. A file that cannot be opened or read gets the viewer's message on standard error
// and exit status 1.

#include "platform/core/ToolkitError.h"
#include "platform/rtf/DocumentFile.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdio>

int main(int argc, char* argv[]) {
    // Documents need the font machinery of a GUI application, but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fputs("usage: rtf2text FILE\n", stderr);
        return 2;
    }
    try {
        const auto document = DocumentFile::load(args[1]);
        QByteArray text = DocumentFile::plainText(*document).toUtf8();
        text.append('\n');
        std::fwrite(text.constData(), 1, std::size_t(text.size()), stdout);
        return 0;
    } catch (const ToolkitError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
