#include "qt/folder_list.h"

#include <QKeyEvent>
#include <QStyle>
#include <vector>

namespace launcher::qt {

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
    // Return is handled as a key of its own: itemActivated would also fire
    // on a single click under some styles.
    connect(this, &QTreeWidget::itemDoubleClicked, this, &FolderList::Open);
}

void FolderList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Taken here, so that the dialog never sees it.
        event->accept();
        Open(currentItem());
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void FolderList::Open(QTreeWidgetItem* item) {
    if (item != nullptr) {
        setPath(item->data(0, Qt::UserRole).toString());
    }
}

QString FolderList::path() const {
    return QString::fromStdString(listing_.folder());
}

bool FolderList::setPath(const QString& folder) {
    if (!listing_.Open(folder.toStdString())) {
        return false;
    }
    Draw();
    return true;
}

void FolderList::setDrive(const QString& root) {
    if (listing_.PointAtDrive(root.toStdString())) {
        Draw();
    }
}

void FolderList::Draw() {
    clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    // The last row drawn at each depth: the parent of the next row one deeper.
    std::vector<QTreeWidgetItem*> above;
    QTreeWidgetItem* openItem = nullptr;
    const std::vector<FolderRow>& rows = listing_.rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto depth = static_cast<std::size_t>(rows[i].depth);
        above.resize(depth);
        auto* item = above.empty() ? new QTreeWidgetItem(this) : new QTreeWidgetItem(above.back());
        item->setText(0, QString::fromStdString(rows[i].name));
        const bool onTheWayDown = i <= listing_.openRow();
        item->setIcon(0, onTheWayDown ? openIcon : closedIcon);
        item->setData(0, Qt::UserRole, QString::fromStdString(rows[i].path));
        item->setExpanded(onTheWayDown);
        above.push_back(item);
        if (i == listing_.openRow()) {
            openItem = item;
        }
    }
    setCurrentItem(openItem);
    scrollToItem(openItem);
}

}  // namespace launcher::qt
