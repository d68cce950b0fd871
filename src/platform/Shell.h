#pragma once
// The desktop's "open" action as a service: a report file or a web address is
// handed to the user's default program. Tests install one that only records.

#include <QString>
#include <QUrl>

namespace orv {

class Shell {
public:
    virtual ~Shell() = default;
    // True when the desktop accepted the request.
    virtual bool OpenUrl(const QUrl& url) = 0;
    bool OpenFile(const QString& path) { return OpenUrl(QUrl::fromLocalFile(path)); }
};

class DesktopShell final : public Shell {
public:
    bool OpenUrl(const QUrl& url) override;
};

}  // namespace orv
