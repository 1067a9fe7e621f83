#pragma once

#include <QColor>
#include <QString>

#include <vector>

// The colours read-aloud lights a reading with, one scheme for each kind of eye and page: the
// sentence being read is tinted and its text given a colour that reads on the tint, the word
// being said stands out in its own colours. Every scheme keeps the text at least 4.5:1 against
// what it is drawn on, and the tint and the word at least 3:1 against the page they are seen on
// and against each other, so that where the reading is can be seen without colour vision.
struct LightScheme {
    QString key;  // as stored in the settings
    QString name; // as the student reads it
    QColor page;  // the page the scheme is made for
    QColor text;
    QColor tint;
    QColor word;
    QColor wordText;
};

const std::vector<LightScheme>& LightSchemes();
// The scheme stored under key, the first one for an unknown key.
const LightScheme& LightSchemeOf(const QString& key);

// The contrast ratio of two colours, from 1 to 21, by their relative luminance in sRGB.
double ContrastRatio(const QColor& a, const QColor& b);
