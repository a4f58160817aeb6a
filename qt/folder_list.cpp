#include "qt/folder_list.h"

#include <QDir>
#include <QFileInfo>
#include <QStyle>

namespace launcher {

namespace {

QString Clean(const QString& path) {
    return QDir::cleanPath(QDir::fromNativeSeparators(path));
}

// The folders from the root down to `folder`, `folder` last.
QStringList Ancestry(const QString& folder) {
    QStringList chain{folder};
    QString current = folder;
    while (!QDir(current).isRoot()) {
        const QString parent = QFileInfo(current).path();
        // A path Qt cannot take further up (a share's name) ends the chain.
        if (parent == current || parent == QStringLiteral(".")) {
            break;
        }
        chain.prepend(parent);
        current = parent;
    }
    return chain;
}

}  // namespace

FolderList::FolderList(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    // The tree is only the picture of one path: it never folds, and a
    // double-click opens a folder instead of folding it.
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setIndentation(10);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Only a double-click opens; itemActivated would also fire on Return.
    connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (item != nullptr) {
            setPath(item->data(0, Qt::UserRole).toString());
        }
    });
}

QString FolderList::path() const {
    return QDir::toNativeSeparators(path_);
}

bool FolderList::setPath(const QString& folder) {
    if (folder.isEmpty()) {
        return false;
    }
    const QString target = Clean(QDir(Clean(folder)).absolutePath());
    const QFileInfo info(target);
    if (!info.isDir() || !info.isReadable()) {
        return false;
    }
    const QStringList children =
        QDir(target).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);

    clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QTreeWidgetItem* parentItem = nullptr;
    for (const QString& ancestor : Ancestry(target)) {
        const QString name = QDir(ancestor).isRoot() ? QDir::toNativeSeparators(ancestor)
                                                     : QFileInfo(ancestor).fileName();
        auto* item =
            parentItem == nullptr ? new QTreeWidgetItem(this) : new QTreeWidgetItem(parentItem);
        item->setText(0, name);
        item->setIcon(0, openIcon);
        item->setData(0, Qt::UserRole, ancestor);
        item->setExpanded(true);
        parentItem = item;
    }
    QTreeWidgetItem* openItem = parentItem;
    for (const QString& child : children) {
        auto* item = new QTreeWidgetItem(openItem);
        item->setText(0, child);
        item->setIcon(0, closedIcon);
        item->setData(0, Qt::UserRole, QDir(target).filePath(child));
    }
    path_ = target;
    setCurrentItem(openItem);
    scrollToItem(openItem);
    return true;
}

bool FolderList::openOn(const QString& drive, const QString& folder) {
    if (!setPath(folder)) {
        return false;
    }
    drive_ = drive;
    return true;
}

void FolderList::setDrive(const QString& root) {
    // Opening the root on every tick would undo the user's navigation. A
    // drive that cannot be read is tried again at the next pointing, so a
    // medium put in later is found.
    if (root.isEmpty() || root == drive_) {
        return;
    }
    openOn(root, root);
}

}  // namespace launcher
