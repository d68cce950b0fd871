#include "ui/PluginMainWindow.h"

#include <QApplication>
#include <QResizeEvent>

#include <functional>

#include "data/RecordCache.h"
#include "resources/Resources.h"
#include "settings/ViewSettings.h"
#include "ui/PluginPage.h"
#include "ui/charts/ChartsPage.h"
#include "ui/controls/ColoredTab.h"
#include "ui/groups/GroupsPage.h"
#include "ui/tables/TablesPage.h"
#include "ui/targets/TargetsPage.h"
#include "ui/units/UnitsPage.h"
#include "ui/values/ValuesPage.h"

namespace orv {
namespace {

// Creation order of the pages, and where each one sits.
enum Created { kUnits, kCharts, kGroups, kTargets, kValues, kTables };

struct TabInfo {
    const char* text;
    int image;
    Created page;
};
// Tabs left to right, with their image in bitmap 389.
constexpr std::array<TabInfo, kTabCount> kTabs{{
    {"Values", 0, kValues},
    {"Charts", 1, kCharts},
    {"Tables", 2, kTables},
    {"Groups/Items", 4, kGroups},
    {"Targets", 5, kTargets},
    {"Units", 6, kUnits},
}};

constexpr QSize kTabItemSize(100, 36);
constexpr int kFirstTextColor = 0x000000;
constexpr int kSecondTextColor = 0x323232;

// Keeps the module's window the size of the host window it lives in.
class FillParent : public QObject {
public:
    FillParent(QWidget* child, QWidget* parent) : QObject(child), child_(child) {
        parent->installEventFilter(this);
        child->setGeometry(parent->rect());
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize) child_->setGeometry(static_cast<QWidget*>(watched)->rect());
        return false;
    }

private:
    QWidget* child_;
};

bool IsInside(const QObject* object, const QWidget* window) {
    for (const QObject* o = object; o; o = o->parent()) {
        if (o == window) return true;
    }
    return false;
}

// Moves the focus to the next (or previous) control of the module's window
// that takes Tab focus, wrapping round, so that Tab never leaves the module.
// Controls of other windows (dialogs, message boxes) are not in the chain.
void MoveFocusWithin(QWidget* module, bool backwards) {
    QList<QWidget*> chain;
    QWidget* w = module;
    do {
        if (w != module && w->window() == module->window() && IsInside(w, module) && w->isVisible() && w->isEnabled() &&
            (w->focusPolicy() & Qt::TabFocus)) {
            chain << w;
        }
        w = w->nextInFocusChain();
    } while (w && w != module);
    if (chain.isEmpty()) return;
    const int at = chain.indexOf(QApplication::focusWidget());
    const int size = static_cast<int>(chain.size());
    const int next = at < 0 ? (backwards ? size - 1 : 0) : (at + (backwards ? -1 : 1) + size) % size;
    chain[next]->setFocus(backwards ? Qt::BacktabFocusReason : Qt::TabFocusReason);
}

// The module's window. When the host destroys it (by destroying its own
// window), the destructor tells the owner before the pages go, so the
// selected tab and every page's state are still stored.
class MainTabWindow : public ColoredTab {
public:
    MainTabWindow(QWidget* parent, std::function<void()> onDestroy)
        : ColoredTab(parent), onDestroy_(std::move(onDestroy)) {}
    ~MainTabWindow() override {
        if (onDestroy_) onDestroy_();
    }
    void ForgetOwner() { onDestroy_ = nullptr; }

protected:
    // Tab and Shift+Tab in a control of the module reach here through the
    // controls' parents: focus moves within the module and never out to the
    // host's controls. Dialogs are windows of their own and keep their keys.
    bool focusNextPrevChild(bool next) override {
        MoveFocusWithin(this, !next);
        return true;
    }

private:
    std::function<void()> onDestroy_;
};

}  // namespace

PluginMainWindow::PluginMainWindow(HostDatabase* db, ViewSettings& settings, RecordCache& cache,
                                   HostColorProvider* colors)
    : db_(db), settings_(settings), cache_(cache), colors_(colors) {}

PluginMainWindow::~PluginMainWindow() { Destroy(); }

QWidget* PluginMainWindow::Window() const { return window_; }
ColoredTab* PluginMainWindow::TabControl() const { return window_; }

QWidget* PluginMainWindow::Create(QWidget* parent) {
    if (window_) return window_;
    settings_.Load(db_);

    auto* tab = new MainTabWindow(parent, [this] { StoreAll(); });
    tab->setObjectName(QStringLiteral("PluginMainWindow"));
    window_ = tab;
    if (parent) new FillParent(tab, parent);
    ApplyColors();
    tab->setImageStrip(LoadBitmap(bitmap::TabImages), QSize(kTabImageSize, kTabImageSize));

    BuildPages();

    shown_ = created_[kValues];
    tab->setItemSize(kTabItemSize);
    for (const TabInfo& info : kTabs) tab->addTab(QString::fromLatin1(info.text), info.image, created_[info.page]);
    connect(tab, &ColoredTab::currentChanged, this, &PluginMainWindow::OnTabChanged);
    tab->installEventFilter(this);
    RestoreSelectedPage();
    tab->show();
    return tab;
}

void PluginMainWindow::BuildPages() {
    // Every page reads and writes the host's database: without one there is
    // nothing a page could show.
    if (!db_) return;
    const PageContext context{*db_, settings_, cache_, colors_};
    created_[kUnits] = new UnitsPage(context, window_);
    created_[kCharts] = new ChartsPage(context, window_);
    created_[kGroups] = new GroupsPage(context, window_);
    created_[kTargets] = new TargetsPage(context, window_);
    created_[kValues] = new ValuesPage(context, window_);
    created_[kTables] = new TablesPage(context, window_);
    for (const QPointer<PluginPage>& page : created_) {
        page->hide();
        page->LoadCacheParts();
        page->CreateContent();
        page->RestoreState();
    }
    for (PluginPage* page : {created_[kCharts].data(), created_[kTables].data()}) {
        connect(page, &PluginPage::periodSelected, this,
                [this, page](const PeriodSyncBlock& block) { RouteSync(block, page); });
    }
}

PluginPage* PluginMainWindow::PageAt(Tab tab) const { return created_[kTabs[static_cast<int>(tab)].page]; }
ChartsPage* PluginMainWindow::Charts() const { return static_cast<ChartsPage*>(created_[kCharts].data()); }
TablesPage* PluginMainWindow::Tables() const { return static_cast<TablesPage*>(created_[kTables].data()); }

void PluginMainWindow::SelectTab(Tab tab) {
    if (window_) window_->setCurrentIndex(static_cast<int>(tab));
}

void PluginMainWindow::OnTabChanged(int index) {
    if (!window_) return;
    if (shown_) shown_->hide();
    shown_ = qobject_cast<PluginPage*>(window_->tabPage(index));
    if (!shown_) return;
    shown_->Activate();
    shown_->show();
    LayoutShownPage();
}

void PluginMainWindow::LayoutShownPage() {
    if (!window_ || !shown_) return;
    const QRect client = window_->rect();
    const int h = window_->itemRect(0).height() + 4;
    shown_->setGeometry(client.left() - 2, client.top() + h, client.width() + 4, client.height() - h);
    shown_->update();
}

void PluginMainWindow::RouteSync(const PeriodSyncBlock& block, PluginPage* sender) {
    for (PluginPage* page : {static_cast<PluginPage*>(Charts()), static_cast<PluginPage*>(Tables())}) {
        if (page && page != sender) page->ReceivePeriod(block);
    }
}

void PluginMainWindow::RestoreSelectedPage() {
    if (!window_) return;
    const int stored = settings_.currentPage;
    const int index = stored >= 0 && stored < window_->count() ? stored : 0;
    if (window_->currentIndex() == index) {
        OnTabChanged(index);
    } else {
        window_->setCurrentIndex(index);
    }
}

void PluginMainWindow::StoreSelectedPage() {
    if (!window_) return;
    settings_.currentPage = window_->currentIndex();
    settings_.Save(db_);
}

int32_t PluginMainWindow::Save() {
    StoreSelectedPage();
    for (const QPointer<PluginPage>& page : created_) {
        if (page) page->StoreState();
    }
    settings_.Save(db_);
    return 0;
}

int32_t PluginMainWindow::ApplyColors() {
    if (!window_) return 0;
    const auto colour = [this](int32_t number) { return colors_ ? colors_->GetColor(number) : -1; };
    const int32_t first = colour(3);
    const int32_t second = colour(4);
    // A pair whose background is the system colour takes the system text
    // colour too, so text stays readable on any palette.
    window_->setFirstColors(first, first == -1 ? -1 : kFirstTextColor);
    window_->setSecondColors(second, second == -1 ? -1 : kSecondTextColor);
    window_->setBackgroundColor(colour(5));
    window_->repaint();
    for (const Created c : {kUnits, kCharts, kGroups, kTargets}) {
        if (created_[c]) created_[c]->Recolor();
    }
    return 0;
}

void PluginMainWindow::StoreAll() {
    // The window is going: no more of its events through us.
    if (window_) window_->removeEventFilter(this);
    StoreSelectedPage();
    for (const QPointer<PluginPage>& page : created_) {
        if (page) page->StoreState();
    }
}

void PluginMainWindow::Destroy() {
    if (!window_) return;
    static_cast<MainTabWindow*>(window_.data())->ForgetOwner();
    StoreAll();
    for (QPointer<PluginPage>& page : created_) delete page.data();
    shown_ = nullptr;
    delete window_.data();
}

bool PluginMainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (window_ && watched == window_ && event->type() == QEvent::Resize) {
        LayoutShownPage();
        return false;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace orv
