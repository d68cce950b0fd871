#pragma once
// The whole content of a file, or empty bytes when it cannot be read.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace orv::test {

inline QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace orv::test
