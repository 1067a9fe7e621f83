#include "platform/rtf/RtfReader.h"

#include "platform/rtf/DocumentBuilder.h"
#include "platform/rtf/RtfInterpreter.h"

#include <QTextDocument>

bool looksLikeRtf(QByteArrayView data) {
    if (data.startsWith("\xEF\xBB\xBF"))
        data = data.sliced(3);
    qsizetype i = 0;
    while (i < data.size() && isRtfSpace(data[i]) && data[i] != 0)
        ++i;
    data = data.sliced(i);
    return data.startsWith("{\\rtf") || data.startsWith("{\\urtf");
}

void readRtf(QByteArrayView data, QTextDocument& document) {
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    {
        DocumentBuilder builder(document);
        RtfInterpreter(data, builder).run();
    }
    document.setUndoRedoEnabled(undo);
}
