#pragma once

#include "teacher/LessonCheck.h"

#include <QMap>

// The sections 1 to `sections` as the student's program shows them: each found in the key by its
// header (headers: section number -> header line from 0), its questions and answers found and
// judged by the student's program's own key queries. Safe on any thread.
QList<SectionView> previewSections(const QStringList& key, int sections,
                                   const QMap<int, int>& headers,
                                   const QMap<int, int>& markerLines);
