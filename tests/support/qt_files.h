// Whole-file reads and writes for the window tests' scratch folders.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace launcher::testing {

// Makes `path` hold exactly `bytes`; false when it cannot be opened.
inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    file.write(bytes);
    return true;
}

// The bytes of `path`; empty when it cannot be read.
inline QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace launcher::testing
