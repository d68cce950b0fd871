#pragma once
// The one window the module shows inside the host: a coloured tab control
// whose six tabs each show one page. It owns the pages, creates them with the
// shared objects, switches between them, carries period selections between the
// Charts and Tables pages, keeps Tab and Shift+Tab inside the module, and
// saves page state and view settings when asked.
//
// The object outlives its window: the host may destroy the window (by
// destroying its own parent window), after which Window() is null and the
// object only waits for Close.

#include <QObject>
#include <QPointer>

#include <array>
#include <cstdint>

#include "data/HostInterfaces.h"
#include "ui/PeriodSyncBlock.h"
#include "ui/PluginPage.h"

class QWidget;

namespace orv {

class ChartsPage;
class ColoredTab;
class GroupsPage;
class RecordCache;
class TablesPage;
class TargetsPage;
class UnitsPage;
class ValuesPage;
class ViewSettings;

// Tab positions, left to right.
enum class Tab { Values = 0, Charts, Tables, Groups, Targets, Units };
inline constexpr int kTabCount = 6;

class PluginMainWindow : public QObject {
    Q_OBJECT
public:
    // `db` is the host's database; without one (a host that gave none) the
    // window shows its tabs but no pages. `colors` may be null too.
    PluginMainWindow(HostDatabase* db, ViewSettings& settings, RecordCache& cache, HostColorProvider* colors);
    ~PluginMainWindow() override;

    // Creates the window as a visible child of `parent`, filling it: loads
    // the view settings, builds the tabs and the pages, shows the stored tab.
    QWidget* Create(QWidget* parent);
    // The window, or null when there is none (never created or destroyed).
    QWidget* Window() const;
    ColoredTab* TabControl() const;

    // Stores the selected tab and every page's state, saves the view
    // settings. 0.
    int32_t Save();
    // Re-reads colours 3, 4 and 5 and tells the pages that draw with the
    // host's colours to re-colour. 0.
    int32_t ApplyColors();
    // Stores state and destroys the pages and the window.
    void Destroy();

    // The page on a tab; null before creation and without a database.
    PluginPage* PageAt(Tab tab) const;
    ChartsPage* Charts() const;
    TablesPage* Tables() const;
    // The page now shown.
    PluginPage* ShownPage() const { return shown_; }
    void SelectTab(Tab tab);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildPages();
    void OnTabChanged(int index);
    void LayoutShownPage();
    void RouteSync(const PeriodSyncBlock& block, PluginPage* sender);
    // The page-selection keeper.
    void RestoreSelectedPage();
    void StoreSelectedPage();
    // What destruction stores: the selected tab and every page's state.
    void StoreAll();

    HostDatabase* db_;
    ViewSettings& settings_;
    RecordCache& cache_;
    HostColorProvider* colors_;
    QPointer<ColoredTab> window_;
    // Pages in creation order: Units, Charts, Groups/Items, Targets, Values, Tables.
    std::array<QPointer<PluginPage>, kTabCount> created_;
    QPointer<PluginPage> shown_;
};

}  // namespace orv
