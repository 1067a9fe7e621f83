#include "study/VisitMatch.h"

#include "platform/core/Ansi.h"
#include "platform/core/RegularFile.h"
#include "study/RegisterLines.h"

#include <QFile>
#include <QList>

#include <algorithm>

namespace {

QList<QByteArray> visitLines(const QByteArray& visit) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < visit.size()) {
        const qsizetype end = visit.indexOf("\r\n", start);
        if (end < 0)
            return {};
        lines.append(visit.mid(start, end + 2 - start));
        start = end + 2;
    }
    return lines;
}

// The register's next line with its ending, up to cap bytes; a longer line is read through and
// given as too long (it matches no line of the visit).
enum class Line { Read, TooLong, Unfinished, End };

Line nextLine(QIODevice& device, qsizetype cap, QByteArray& line) {
    line.resize(cap + 1);
    const qint64 got = device.readLine(line.data(), line.size());
    if (got <= 0)
        return Line::End;
    line.resize(got);
    if (line.endsWith('\n'))
        return Line::Read;
    if (device.atEnd())
        return Line::Unfinished;
    QByteArray rest(64 * 1024, Qt::Uninitialized);
    for (;;) {
        const qint64 more = device.readLine(rest.data(), rest.size());
        if (more <= 0 || rest.at(more - 1) == '\n')
            return Line::TooLong;
    }
}

bool isEntryLine(const QByteArray& line) {
    EntryFields fields;
    return ReadEntryLine(ansiToString(line.chopped(line.endsWith("\r\n") ? 2 : 1)), fields);
}

} // namespace

int CountWholeVisit(QIODevice& device, const QByteArray& visit) {
    const QList<QByteArray> lines = visitLines(visit);
    if (lines.isEmpty())
        return 0;
    qsizetype cap = 0;
    for (const QByteArray& line : lines)
        cap = std::max(cap, line.size());
    // Knuth-Morris-Pratt over whole lines: where a partial match fails, how much of it may still
    // begin the visit.
    QList<int> fallback(lines.size(), 0);
    for (int i = 1, k = 0; i < lines.size(); ++i) {
        while (k > 0 && lines[i] != lines[k])
            k = fallback[k - 1];
        if (lines[i] == lines[k])
            ++k;
        fallback[i] = k;
    }
    int count = 0;
    int matched = 0;
    bool ended = false; // the last line read ended a match
    QByteArray line;
    for (;;) {
        const Line read = nextLine(device, cap, line);
        if (read == Line::End || read == Line::Unfinished)
            break;
        if (ended && (read == Line::TooLong || !isEntryLine(line)))
            ++count;
        ended = false;
        if (read == Line::TooLong) {
            matched = 0;
            continue;
        }
        while (matched > 0 && line != lines[matched])
            matched = fallback[matched - 1];
        if (line == lines[matched])
            ++matched;
        if (matched == lines.size()) {
            ended = true;
            matched = 0;
        }
    }
    return ended ? count + 1 : count;
}

int CountWholeVisitIn(const QString& path, const QByteArray& visit) {
    QFile file(path);
    if (!openRegularFileForReading(file))
        return -1;
    return CountWholeVisit(file, visit);
}
