#pragma once

#include "lesson/AnswerKeyValue.h"
#include "teacher/LessonCheck.h"

#include <QMap>

// The sections 1 to `sections` as the student's program shows them: each as the key has it, with
// the display line of the text where its marker is found (markerLines: section number -> line
// from 0). Safe on any thread.
QList<SectionView> previewSections(const AnswerKeyValue& key, int sections,
                                   const QMap<int, int>& markerLines);

// One question of the key as the check and the summary show it.
QuestionView questionView(const AnswerKeyValue::Question& question);
