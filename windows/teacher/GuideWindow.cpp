#include "GuideWindow.h"

#include "GuideDocument.h"

#include <QTextBrowser>
#include <QVBoxLayout>

// The guide and its picture are built into the program, so that they are always at hand. A
// static library's resources are registered by hand, outside any namespace.
static void registerGuide() {
    static const bool done = [] {
        Q_INIT_RESOURCE(guide);
        return true;
    }();
    (void)done;
}

GuideWindow::GuideWindow(QWidget* parent) : QDialog(parent), browser_(new QTextBrowser(this)) {
    registerGuide();
    setObjectName(QStringLiteral("GuiaDelDocente"));
    setWindowTitle(QStringLiteral("Guía del docente"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    resize(820, 640);
    browser_->setObjectName(QStringLiteral("TextoGuia"));
    // Links to other sites open in the desktop's browser; those inside the guide move in it.
    browser_->setOpenExternalLinks(true);
    browser_->setSource(QUrl(QStringLiteral("qrc:/guia/guia-docente.md")),
                        QTextDocument::MarkdownResource);
    NameGuideHeadings(*browser_->document());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
}
