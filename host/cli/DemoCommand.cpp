#include "host/cli/DemoCommand.h"

#include <string>

#include "host/db/DemoData.h"

namespace orv::host {

bool WriteDemo(const QString& path, const QString& valueCount, QString* error) {
    std::string reason;
    bool written = false;
    if (valueCount.isEmpty()) {
        written = hostdb::WriteDemoDatabase(path.toStdString(), &reason);
    } else {
        bool ok = false;
        const int count = valueCount.toInt(&ok);
        if (!ok || count < 1) {
            if (error)
                *error = QStringLiteral("--values wants a whole number of values from 1 up, not '%1'.").arg(valueCount);
            return false;
        }
        hostdb::GenerateOptions options;
        options.valueCount = count;
        written = hostdb::GenerateDatabase(path.toStdString(), options, &reason);
    }
    if (!written && error) *error = QString::fromStdString(reason);
    return written;
}

}  // namespace orv::host
