// Folder browse dialogs Form5 (radar client folder) and Form6 (voice client
// folder): a drive list, a folder list, OK and Cancel.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QTreeWidget>
#include <QWidget>

class QCloseEvent;
class QComboBox;
class QLabel;
class QPushButton;
class QTimer;

namespace launcher {

class VolumeList;

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
    // What tells Form5 and Form6 apart; geometry in twips.
    struct Design {
        const char* name;
        QString prompt;
        int timerMs;
        QSize client;
        QRect label1, drive1, dir1, command1, command2;
    };

    BrowseDialog(const VolumeList& volumes, const Design& design, QWidget* parent);

    void closeEvent(QCloseEvent* event) override;

private slots:
    void Timer1_Timer();
    void Command1_Click();
    void Command2_Click();

private:
    void BuildControls(const Design& design);
    void Form_Load(const VolumeList& volumes);

    QLabel* label1_ = nullptr;
    QComboBox* drive1_ = nullptr;
    FolderList* dir1_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QTimer* timer1_ = nullptr;
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

// The volume holding `folder`: the longest root in `roots` that `folder`
// starts with, matched at a folder boundary; empty when none does. Drive
// letters match without regard to case on Windows.
QString VolumeContaining(const QStringList& roots, const QString& folder);

}  // namespace launcher
