#pragma once
// The "Units" tab: the unit definitions in a read-only grid, filtered by unit
// category, with New, Edit, Remove and the unit category editor. Every change
// is written straight to the host and followed by a reload of the unit parts
// of the record cache and a refill of the grid.

#include "ui/ListPage.h"

namespace orv {

class UnitsPage : public ListPage {
    Q_OBJECT
public:
    explicit UnitsPage(const PageContext& context, QWidget* parent = nullptr);

    // The button actions.
    void NewUnit();
    void EditUnit();
    void RemoveUnit();

protected:
    void CreateControls() override;
    void Reload() override;
    void AddRows() override;
};

}  // namespace orv
