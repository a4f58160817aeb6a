#include "qt/browse_dialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <algorithm>

#include "qt/form_kit.h"
#include "prefs/volumes.h"

namespace launcher {

namespace {

QRect ToPixels(const QRect& twips) {
    return kit::Twips(twips.x(), twips.y(), twips.width(), twips.height());
}

constexpr Qt::CaseSensitivity kPathCase =
#ifdef Q_OS_WIN
    Qt::CaseInsensitive;
#else
    Qt::CaseSensitive;
#endif

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

QString VolumeContaining(const QStringList& roots, const QString& folder) {
    const QString target = Clean(folder);
    QString best;
    qsizetype bestLength = -1;
    for (const QString& root : roots) {
        const QString clean = Clean(root);
        if (clean.isEmpty() || !target.startsWith(clean, kPathCase)) {
            continue;
        }
        // "/home" holds "/home/me" but not "/homework".
        const bool boundary = target.size() == clean.size() || clean.endsWith(QLatin1Char('/')) ||
                              target.at(clean.size()) == QLatin1Char('/');
        if (boundary && clean.size() > bestLength) {
            best = root;
            bestLength = clean.size();
        }
    }
    return best;
}

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

BrowseDialog::BrowseDialog(const VolumeList& volumes, const Design& design, QWidget* parent)
    : QWidget(parent, Qt::Dialog) {
    BuildControls(design);
    Form_Load(volumes);
}

BrowseDialog::~BrowseDialog() = default;

void BrowseDialog::BuildControls(const Design& design) {
    setObjectName(QString::fromLatin1(design.name));
    setWindowTitle(QStringLiteral("Browse..."));
    setFont(kit::ClassicFont());
    // Closing a browse dialog must never end the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(design.client.width() / 15, design.client.height() / 15);

    label1_ = new QLabel(this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setTextFormat(Qt::PlainText);
    label1_->setText(design.prompt);
    label1_->setGeometry(ToPixels(design.label1));
    // The prompt is one line; a face wider than the designed one would cut
    // it off, so it may grow to the client area's right edge.
    label1_->resize(std::clamp(label1_->sizeHint().width(), label1_->width(),
                               std::max(label1_->width(), width() - label1_->x())),
                    label1_->height());

    drive1_ = new QComboBox(this);
    drive1_->setObjectName(QStringLiteral("Drive1"));
    drive1_->setEditable(false);
    drive1_->setGeometry(ToPixels(design.drive1));

    dir1_ = new FolderList(this);
    dir1_->setObjectName(QStringLiteral("Dir1"));
    dir1_->setGeometry(ToPixels(design.dir1));
    // Neither list has a caption on screen. The folder list, where the focus
    // starts, also tells what to look for.
    kit::SetAccessibleName(*drive1_, QStringLiteral("Drive"));
    kit::SetAccessibleName(*dir1_, QStringLiteral("Folder"));
    dir1_->setAccessibleDescription(design.prompt);

    command1_ = kit::MakeButton(this, "Command1", QStringLiteral("OK"));
    command1_->setGeometry(ToPixels(design.command1));
    command2_ = kit::MakeButton(this, "Command2", QStringLiteral("Cancel"));
    command2_->setGeometry(ToPixels(design.command2));

    connect(command1_, &QPushButton::clicked, this, &BrowseDialog::Command1_Click);
    connect(command2_, &QPushButton::clicked, this, &BrowseDialog::Command2_Click);

    setTabOrder(dir1_, command1_);
    setTabOrder(command1_, command2_);
    setTabOrder(command2_, drive1_);
    dir1_->setFocus();

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(design.timerMs);
    connect(timer1_, &QTimer::timeout, this, &BrowseDialog::Timer1_Timer);
}

void BrowseDialog::Form_Load(const VolumeList& volumes) {
    QStringList roots;
    for (const std::string& volume : volumes.Volumes()) {
        roots.append(QString::fromStdString(volume));
    }
    for (const QString& root : roots) {
        drive1_->addItem(root, root);
    }
    const QString working = QString::fromStdString(volumes.WorkingFolder());
    // A working folder on no listed volume leaves the drive list without a
    // current drive; the folder list then stays until a drive is picked.
    const QString drive = VolumeContaining(roots, working);
    drive1_->setCurrentIndex(drive1_->findData(drive));
    // Should the working folder be unreadable, the first tick opens the
    // drive's root instead.
    dir1_->openOn(drive, working);
    timer1_->start();
}

void BrowseDialog::ShowModeless() {
    show();
    raise();
    activateWindow();
}

void BrowseDialog::Timer1_Timer() {
    dir1_->setDrive(drive1_->currentData().toString());
}

void BrowseDialog::Command1_Click() {
    emit folderChosen(dir1_->path());
    hide();
}

void BrowseDialog::Command2_Click() {
    hide();
}

void BrowseDialog::closeEvent(QCloseEvent* event) {
    // The close box acts like Cancel: hidden, not destroyed, state kept.
    Command2_Click();
    event->accept();
}

Form5::Form5(const VolumeList& volumes, QWidget* parent)
    : BrowseDialog(volumes,
                   {"Form5",
                    QStringLiteral("Please Browse to the directory that contains Radavue"),
                    150,
                    {6990, 4245},
                    {840, 240, 4575, 255},
                    {1320, 720, 3735, 315},
                    {720, 1320, 4695, 1665},
                    {1320, 3360, 1215, 495},
                    {3360, 3360, 1215, 495}},
                   parent) {}

Form6::Form6(const VolumeList& volumes, QWidget* parent)
    : BrowseDialog(volumes,
                   {"Form6",
                    QStringLiteral("Please Browse to the directory that contains Roger Wilco"),
                    200,
                    {5790, 3675},
                    {840, 240, 4575, 255},
                    {720, 720, 4455, 315},
                    {600, 1080, 4695, 1665},
                    {1320, 3000, 1215, 495},
                    {3360, 3000, 1215, 495}},
                   parent) {}

}  // namespace launcher
