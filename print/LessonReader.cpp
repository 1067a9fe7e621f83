#include "print/LessonReader.h"

#include "platform/LessonViewer.h"
#include "platform/RichViewer.h"
#include "platform/core/RegularFile.h"
#include "platform/rtf/RtfReader.h"

#include <QFile>

#include <QTextBlock>
#include <QTextLayout>

LessonText readLessonText(const QString& path) {
    RichViewer viewer;
    shapeAsLessonViewer(viewer);
    viewer.load(path);

    LessonText text;
    // The viewer shows any other file as plain text; its start tells whether it is RTF.
    QFile file(path);
    if (openRegularFileForReading(file))
        text.notRtf = !looksLikeRtf(file.read(4096));
    const int count = viewer.lineCount(); // lays the document out at the viewer's width
    text.text = viewer.plainText();
    text.lines.reserve(count);
    text.lineStarts.reserve(count);
    for (int i = 0; i < count; ++i)
        text.lines.append(viewer.line(i));
    // The viewer counts lines block by block, at least one for a visible block; so do the starts.
    for (QTextBlock block = viewer.document()->begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        const int lines = layout ? layout->lineCount() : 0;
        const int shown = std::max(lines, block.isVisible() ? 1 : 0);
        for (int j = 0; j < shown; ++j)
            text.lineStarts.append(block.position() +
                                   (j < lines ? layout->lineAt(j).textStart() : 0));
    }
    return text;
}
