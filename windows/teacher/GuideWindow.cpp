#include "windows/teacher/GuideWindow.h"

#include "windows/teacher/GuideDocument.h"

#include <QDesktopServices>
#include <QFile>
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
    QFile guide(QStringLiteral(":/guia/guia-docente.md"));
    guide.open(QIODevice::ReadOnly);
    QTextDocument* document = browser_->document();
    // Its picture is found beside it.
    document->setBaseUrl(QUrl(QStringLiteral("qrc:/guia/")));
    browser_->setMarkdown(QString::fromUtf8(guide.readAll()));
    NameGuideHeadings(*document);
    browser_->moveCursor(QTextCursor::Start);
    // Links inside the guide move in it; those to other sites open in the desktop's browser.
    browser_->setOpenLinks(false);
    connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
        if (link.isRelative() && link.path().isEmpty())
            browser_->scrollToAnchor(link.fragment());
        else
            QDesktopServices::openUrl(link);
    });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
}
