#pragma once
// The one window the module shows inside the host. The object outlives its
// window: the host may destroy the window (by destroying its own parent
// window), after which Window() is null and the object only waits for Close.

#include <QPointer>
#include <QWidget>

#include <cstdint>

#include "data/HostInterfaces.h"

namespace orv {

class RecordCache;

class PluginMainWindow {
public:
    PluginMainWindow(HostDatabase* db, RecordCache* cache, HostColorProvider* colors);
    ~PluginMainWindow();
    PluginMainWindow(const PluginMainWindow&) = delete;
    PluginMainWindow& operator=(const PluginMainWindow&) = delete;

    // Creates the window as a visible child of `parent`, filling it.
    QWidget* Create(QWidget* parent);
    // The window, or null when there is none (never created or destroyed).
    QWidget* Window() const { return window_; }
    // Stores page state and view settings. 0.
    int32_t Save();
    // Re-reads the host's colours.
    void ApplyColors();
    // Stores state and destroys the window.
    void Destroy();

private:
    HostDatabase* db_;
    RecordCache* cache_;
    HostColorProvider* colors_;
    QPointer<QWidget> window_;
};

}  // namespace orv
