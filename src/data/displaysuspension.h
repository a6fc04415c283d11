#pragma once

namespace dravin {

class Table;

// Suspends the display of a table for a scope; the resume commits the grouped
// writes and reports a failed commit unless another error is already on its way.
class DisplaySuspension {
public:
    explicit DisplaySuspension(Table& table);
    ~DisplaySuspension() noexcept(false);
    DisplaySuspension(const DisplaySuspension&) = delete;
    DisplaySuspension& operator=(const DisplaySuspension&) = delete;

private:
    Table& mTable;
    int mUncaught;
};

}  // namespace dravin
