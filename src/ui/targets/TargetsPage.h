#pragma once
// The "Targets" tab: every target in a read-only grid, ordered by name and
// filtered by target category, with New, Edit, Remove and the target category
// editor. Changes are written straight to the host and followed by a reload of
// the target parts of the record cache and a refill of the grid. A target that
// a group lists is never removed, and changing the unit of such a target
// converts the amounts its groups' items carry of it.

#include "ui/ListPage.h"

namespace orv {

class TargetsPage : public ListPage {
    Q_OBJECT
public:
    explicit TargetsPage(const PageContext& context, QWidget* parent = nullptr);

    // The button actions.
    void NewTarget();
    void EditTarget();
    void RemoveTarget();

protected:
    void CreateControls() override;
    void Reload() override;
    void AddRows() override;
};

}  // namespace orv
