#pragma once

#include "lesson/Prompter.h"
#include "lesson/SectionList.h"
#include "lesson/TextViewer.h"
#include "study/Recovery.h"

class ListBox;
class RichViewer;

// The lesson window's viewer, section list and boxes as the lesson and the visit see them.

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

class ListAdapter : public SectionList {
public:
    explicit ListAdapter(ListBox* list) : list_(list) {}

    void clear() override;
    void add(const QString& item) override;
    int selectedIndex() const override;
    void select(int index) override;

private:
    ListBox* list_;
};

class BoxPrompter : public Prompter, public ErrorBox {
public:
    bool askYesNo(const QString& caption, const QString& text) override;
    void showMessage(const QString& text) override;
    void showError(const QString& message) override;
};
