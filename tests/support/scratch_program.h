// A scratch program folder and the faked outside world that a main window
// under test is loaded with.
#pragma once

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "app/outside_world.h"
#include "tests/support/fakes.h"
#include "tests/support/qt_files.h"

namespace launcher::testing {

struct ScratchProgram {
    QTemporaryDir folder;
    FakeLocation location;
    RecordingEnder ender;
    FakeVolumes volumes;  // one volume: the program folder itself
    FixedClock clock;
    RecordingStarter starter;
    RecordingErrors errors;

    ScratchProgram() {
        location.folder = QDir::toNativeSeparators(folder.path()).toStdString();
        volumes.volumes = {location.folder};
        volumes.working = location.folder;
    }

    OutsideWorld world() { return {location, ender, volumes, clock, starter, errors}; }

    QString path(const QString& name) const { return folder.filePath(name); }

    // Makes `name`, and any folder it needs, hold exactly `bytes`.
    void write(const QString& name, const QByteArray& bytes) const {
        QVERIFY(QDir(folder.path()).mkpath(QFileInfo(path(name)).path()));
        QVERIFY(WriteBytes(path(name), bytes));
    }
};

}  // namespace launcher::testing
