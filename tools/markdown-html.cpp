// markdown-html GUIDE.md GUIDE.html TITLE: the teacher's guide as a web page, read by the same
// Markdown reader that shows it inside the teacher's program. The build runs it.
#include "platform/core/AtomicFile.h"
#include "windows/teacher/GuideDocument.h"

#include <QFile>
#include <QGuiApplication>
#include <QTextDocument>

#include <cstdio>

int main(int argc, char** argv) {
    // Text layout needs a platform, but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 4) {
        std::fputs("Uso: markdown-html GUIA.md GUIA.html TÍTULO\n", stderr);
        return 2;
    }
    QFile in(arguments[1]);
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "No se puede leer %s\n", qPrintable(arguments[1]));
        return 1;
    }
    QTextDocument document;
    document.setMarkdown(QString::fromUtf8(in.readAll()));
    NameGuideHeadings(document);
    document.setMetaInformation(QTextDocument::DocumentTitle, arguments[3]);
    QString failure;
    if (!WriteFileAtomically(arguments[2], document.toHtml().toUtf8(), failure)) {
        std::fprintf(stderr, "%s\n", qPrintable(failure));
        return 1;
    }
    return 0;
}
