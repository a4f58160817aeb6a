// The folder list of the browse dialogs.
#pragma once

#include <QString>
#include <QTreeWidget>

namespace launcher {

// A classic directory list: the open folder under the folders above it, from
// the root down, and the folders inside it below, sorted without regard to
// case. Double-clicking a folder opens it; highlighting one changes nothing.
// Filled synchronously from the file system each time a folder is opened.
class FolderList : public QTreeWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget* parent = nullptr);

    // The open folder, native separators; empty until a folder was opened.
    QString path() const;
    // The drive the list was last pointed at (as the drive list names it).
    QString drive() const { return drive_; }

    // Opens `folder`. A folder that does not exist or cannot be listed
    // leaves the list as it was and gives false.
    bool setPath(const QString& folder);
    // Opens `folder` and takes `drive` as the drive the list is on.
    bool openOn(const QString& drive, const QString& folder);
    // Points the list at a drive: another drive than the one it is on opens
    // that drive's root; the drive it is on keeps the folder the user opened.
    void setDrive(const QString& root);

protected:
    // No fold arrows: the list never folds.
    void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}

private:
    QString path_;   // internal separators ("/")
    QString drive_;  // as given to openOn
};

}  // namespace launcher
