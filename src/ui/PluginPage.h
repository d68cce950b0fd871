#pragma once
// What every page of the main window offers. The main window creates the
// pages with the objects they share, tells a page when its tab comes to the
// front, and carries period selections between the Charts and Tables pages;
// pages never call each other.

#include <QWidget>

#include "data/HostInterfaces.h"
#include "ui/PeriodSyncBlock.h"

namespace orv {

class RecordCache;
class ViewSettings;

// The private messages between the main window and its pages.
namespace message {
inline constexpr int PageActivated = 2662;  // the page's tab came to the front
inline constexpr int PeriodSync = 2663;     // a PeriodSyncBlock for the other page
}  // namespace message

// The objects every page works with, handed to it when it is created. All of
// them outlive the pages.
struct PageContext {
    HostDatabase& db;
    ViewSettings& settings;
    RecordCache& cache;
    // The host's colour provider; null when the host gives none, and the
    // pages keep their own colours.
    HostColorProvider* colors = nullptr;
};

class PluginPage : public QWidget {
    Q_OBJECT
public:
    PluginPage(const PageContext& context, QWidget* parent)
        : QWidget(parent),
          db_(context.db),
          settings_(context.settings),
          cache_(context.cache),
          colors_(context.colors) {}

    // The cache parts the page's lists need before its window is built.
    virtual void LoadCacheParts() {}
    // Builds the page's controls; called once, after LoadCacheParts.
    virtual void CreateContent() {}
    // The page-state keeper: what the page restores when it is created and
    // stores when the module saves or closes.
    virtual void RestoreState() {}
    virtual void StoreState() {}
    // Message 2662: reload from the cache and refill.
    virtual void Activate() {}
    // Re-reads the host's colours (pages that draw with them).
    virtual void Recolor() {}
    // Message 2663 from the other period page: apply it without answering.
    virtual void ReceivePeriod(const PeriodSyncBlock& block) { (void)block; }

signals:
    // Message 2663 to the main window, which passes it to the other page.
    void periodSelected(const orv::PeriodSyncBlock& block);

protected:
    HostDatabase& db_;
    ViewSettings& settings_;
    RecordCache& cache_;
    HostColorProvider* const colors_;
};

}  // namespace orv
