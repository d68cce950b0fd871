#include "resources/Resources.h"

#include <QFile>

// Q_INIT_RESOURCE names a function in the global namespace, so it is called
// from here and not from inside namespace orv.
static void InitCompiledResources() { Q_INIT_RESOURCE(orv); }

namespace orv {

void InitResources() {
    static const bool done = (InitCompiledResources(), true);
    (void)done;
}

QString BitmapPath(int id) { return QStringLiteral(":/orv/bitmaps/%1.png").arg(id); }

QPixmap LoadBitmap(int id) {
    InitResources();
    const QString path = BitmapPath(id);
    if (!QFile::exists(path)) return {};
    return QPixmap(path);
}

QString LoadResourceString(int id) {
    switch (id) {
    case resource_string::Title: return QStringLiteral("ORV");
    case resource_string::Description: return QStringLiteral("ORV ORV Plugin");
    case resource_string::Version: return QStringLiteral("1.9");
    default: return {};
    }
}

}  // namespace orv
