#pragma once
// The module's exported entry points, as the host resolves them by name.
// Every export is extern "C" with an undecorated name, takes and returns
// 32-bit numbers or handles, and never lets an exception escape.

#include <cstdint>

#include "data/HostExtensions.h"
#include "data/HostInterfaces.h"

class QMenu;
class QPixmap;
class QWidget;

#define ORV_EXPORT extern "C" __attribute__((visibility("default")))

// Optional: a host that offers the extensions of data/HostExtensions.h hands
// them over before Init (null takes them back). Returns 1.
ORV_EXPORT int32_t SetHostExtensions(orv::HostExtensions* extensions);
ORV_EXPORT int32_t Init(orv::HostDatabase* db, orv::HostColorProvider* colors, QWidget* parent, int32_t, int32_t);
ORV_EXPORT int32_t Run();
ORV_EXPORT QWidget* GetWnd();
ORV_EXPORT int32_t Save();
ORV_EXPORT int32_t IsModified();
ORV_EXPORT int32_t Close();
ORV_EXPORT int32_t GetTitle(char* buffer);
ORV_EXPORT int32_t GetDescription(char* buffer);
ORV_EXPORT int32_t GetVersionStr(char* buffer);
ORV_EXPORT QPixmap* GetIcon();
ORV_EXPORT QPixmap* GetIconSmall();
ORV_EXPORT int32_t GetPluginPriority();
ORV_EXPORT int32_t GetCategory();
ORV_EXPORT int32_t CanActivate(int32_t first, int32_t second);
ORV_EXPORT int32_t ChangeColorScheme();
// A new menu holding the module's commands; the caller owns it.
ORV_EXPORT QMenu* GetPlugMenu();
ORV_EXPORT int32_t GetOnCommandID(int32_t unused, int32_t command);
ORV_EXPORT int32_t AboutDialog();

// Command ids of the module's menu.
namespace orv::command {
inline constexpr int32_t ChartPreferences = 82;
inline constexpr int32_t ExportValues = 83;
inline constexpr int32_t ExportStructure = 84;
}  // namespace orv::command

namespace orv::text {
// Capacity of the title, description and version texts, terminator included.
inline constexpr int32_t kTextCapacity = 1024;
}  // namespace orv::text
