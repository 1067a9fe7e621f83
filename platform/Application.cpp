#include "platform/Application.h"

#include "platform/Boxes.h"
#include "platform/core/ToolkitError.h"

#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

#include <clocale>

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    // The windows are laid out for "MS Sans Serif" at 8 points. Where it is missing, a sans-serif
    // of the same width keeps every caption inside its button; a wider one would cut them.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
                                QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans")});
    // The toolkit has just taken the C library's locale from the environment. Numbers shown to
    // the user follow QLocale (which reads the environment itself); what the C library formats
    // goes into files (the workbook's XML) and must read the same on every desktop.
    std::setlocale(LC_NUMERIC, "C");
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const ToolkitError& e) {
        Boxes::error(Boxes::spanishWording() ? e.spanishSentence() : e.message());
    } catch (const std::bad_alloc&) {
        Boxes::error(Boxes::spanishWording() ? QStringLiteral("No queda memoria libre")
                                             : QStringLiteral("Out of memory"));
    } catch (const std::exception& e) {
        Boxes::error(QString::fromLocal8Bit(e.what()));
    }
    return true;
}

bool Application::loadSpanishTranslations() {
    // Everything a student reads is Spanish, whatever the desktop's own language; numbers and
    // dates still follow the system's settings.
    auto* translator = new QTranslator(qApp);
    if (!translator->load(QStringLiteral("qtbase_es"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
