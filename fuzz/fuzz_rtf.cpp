// The RTF reader, through the document loading that the viewers use (RTF when the bytes begin as
// RTF, plain text otherwise), then the plain text the sections are found in and a layout at the
// viewer's width, as the lesson window does with every lesson text.

#include "fuzz/FuzzSupport.h"
#include "platform/rtf/DocumentFile.h"
#include "platform/rtf/RtfReader.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

// Documents with pictures and fonts need the GUI application; the offscreen platform needs no
// screen. It lives to the end of the process and is never destroyed: destroying it from an exit
// handler, after Qt's own globals are gone, crashes.
void ensureApplication() {
    static int argc = 1;
    static char name[] = "fuzz_rtf";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* application = nullptr;
    if (!application) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application = new QGuiApplication(argc, argv);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ensureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ensureApplication();
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::unique_ptr<QTextDocument> document = DocumentFile::fromBytes(bytes);
    FUZZ_CHECK(document);
    const QString text = DocumentFile::plainText(*document);
    FUZZ_CHECK(text.size() == document->characterCount() - 1);

    // The viewer lays the text out at its own width.
    document->setTextWidth(400);
    FUZZ_CHECK(document->documentLayout()->documentSize().width() >= 0);
    return 0;
}
