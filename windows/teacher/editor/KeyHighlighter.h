#pragma once

#include <QSyntaxHighlighter>

// Colours the marks of the key's text view as the student's program reads them: headers it finds
// and headers it never finds, questions, answers, and each answer's judgment (right, wrong,
// pending).
class KeyHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    explicit KeyHighlighter(QTextDocument* document);

protected:
    void highlightBlock(const QString& text) override;
};
