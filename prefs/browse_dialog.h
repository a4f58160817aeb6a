// Folder browse dialogs Form5 (radar client folder) and Form6 (voice client
// folder): a drive list, a folder list, OK and Cancel.
#pragma once

#include <QString>
#include <QWidget>

namespace launcher {

class VolumeList;

class BrowseDialog : public QWidget {
    Q_OBJECT
public:
    ~BrowseDialog() override;

    // Shows the dialog modeless, or brings it to the front when visible.
    void ShowModeless();

signals:
    // OK was pressed with this folder open in Dir1 (native separators).
    void folderChosen(const QString& folder);

protected:
    BrowseDialog(const VolumeList& volumes, QWidget* parent);
};

class Form5 : public BrowseDialog {
    Q_OBJECT
public:
    explicit Form5(const VolumeList& volumes, QWidget* parent = nullptr);
};

class Form6 : public BrowseDialog {
    Q_OBJECT
public:
    explicit Form6(const VolumeList& volumes, QWidget* parent = nullptr);
};

}  // namespace launcher
