#pragma once

#include <QString>

// The folders the teacher's program remembers between sessions (in its settings): the class's
// folder last published to or read, which the results tab offers, and the folder the class's
// results were last exported to.

QString LastClassFolder();
void RememberClassFolder(const QString& folder);

// Where every export dialog starts: the folder exported to last, while it exists; otherwise the
// teacher's documents folder, when it exists; otherwise classFolder.
QString ExportFolder(const QString& classFolder);
void RememberExportFolder(const QString& folder);
