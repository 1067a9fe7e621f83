#pragma once

#include "lesson/TextViewer.h"

class RichViewer;

// The rich-text viewer as the lesson's rules see it: the lesson window's reading, and the
// reading beside the teacher's key form, where the same rules find each section.
class ViewerAdapter : public TextViewer {
public:
    explicit ViewerAdapter(RichViewer* viewer) : viewer_(viewer) {}

    void load(const QString& path) override;
    int lineCount() const override;
    QString line(int index) const override;
    QString text() const override;
    int textLength() const override;
    int find(const QString& what, int start, int length) const override;
    void setSelection(int start, int length) override;
    void focus() override;
    void scrollCaretIntoView() override;

private:
    RichViewer* viewer_;
};
