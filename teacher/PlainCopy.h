#pragma once

#include <QString>

// The teacher's working copy of a lesson whose key is only published: the reading and the plain
// key, made from the published key, in a folder of the teacher's, to be edited there.

// Writes the reading and the plain key of the lesson whose reading is readingPath and whose
// published key is publishedKey into folder; returns the copy's reading path. Both are written
// whole before either takes its place. Throws ToolkitError with a Spanish message when the key
// cannot be read, the folder is the lesson's own (the class would find the plain key there), the
// folder already holds the lesson's plain key or another reading of the same name, or a file
// cannot be written.
QString savePlainCopy(const QString& readingPath, const QString& publishedKey,
                      const QString& folder);
