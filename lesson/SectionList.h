#pragma once

#include <QString>

// The lesson window's list of sections, as the lesson sees it.
class SectionList {
public:
    virtual ~SectionList() = default;

    virtual void clear() = 0;
    virtual void add(const QString& item) = 0;
    // Index of the selected item, -1 when none is selected.
    virtual int selectedIndex() const = 0;
    // Selects an item from the program (-1 for none) without running the list's click handler.
    virtual void select(int index) = 0;
};
