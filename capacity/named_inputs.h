#pragma once
// The window's inputs reached by component name. Every request reads and writes the
// inputs through this interface at the moment it runs; the window implements it over its
// controls, MemoryInputs over plain values for the batch tool and the tests.

#include "capacity/string_grid.h"

#include <string>
#include <string_view>
#include <vector>

namespace kelvora::capacity {

class NamedInputs {
public:
    virtual ~NamedInputs() = default;

    // Text of an edit field or combo box; a pick list answers its selected item's text,
    // or "" with nothing selected.
    virtual std::string text(std::string_view name) const = 0;
    // A pick list selects the item with that text, or nothing when no item has it.
    virtual void setText(std::string_view name, std::string_view text) = 0;

    // Radio button or check box. Checking a radio button clears the others of its
    // container; clearing one affects only itself.
    virtual bool checked(std::string_view name) const = 0;
    virtual void setChecked(std::string_view name, bool on) = 0;

    // Selected item of a pick list, -1 for none.
    virtual int itemIndex(std::string_view name) const = 0;
    virtual void setItemIndex(std::string_view name, int index) = 0;
    virtual void setItems(std::string_view name, const std::vector<std::string>& items) = 0;

    // Active page of PageControl1: the structure kind.
    virtual int activePage() const = 0;
    // Shows page 0 … 3 of PageControl1, with the reactions of a click on its tab.
    virtual void setActivePage(int page) = 0;

    // StringGrid1, the calibration points.
    virtual StringGrid& grid() = 0;
    virtual const StringGrid& grid() const = 0;
    // Called after the grid's content was changed through grid(), so a view can refresh.
    virtual void gridChanged() {}
};

} // namespace kelvora::capacity
