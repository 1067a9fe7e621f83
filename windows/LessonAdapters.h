#pragma once

#include "lesson/Prompter.h"
#include "lesson/SectionList.h"
#include "study/Recovery.h"
#include "windows/ViewerAdapter.h"

class ListBox;

// The lesson window's viewer, section list and boxes as the lesson and the visit see them.

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
