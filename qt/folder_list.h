// The folder list of the browse dialogs.
#pragma once

#include <QString>
#include <QTreeWidget>

#include "form/folder_listing.h"

namespace launcher::qt {

// A classic directory list, drawn from a FolderListing: each row indented by
// its depth under the row above it. Double-clicking a folder, or Return on
// the highlighted one, opens it; highlighting one changes nothing.
class FolderList : public QTreeWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget* parent = nullptr);

    // The open folder, native separators; empty until a folder was opened.
    QString path() const;

    // Opens `folder`. A folder that does not exist or cannot be listed
    // leaves the list as it was and gives false.
    bool setPath(const QString& folder);
    // Points the list at a drive, as FolderListing::PointAtDrive says.
    void setDrive(const QString& root);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // No fold arrows: the list never folds.
    void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}

private:
    void Open(QTreeWidgetItem* item);
    void Draw();

    FolderListing listing_;
};

}  // namespace launcher::qt
