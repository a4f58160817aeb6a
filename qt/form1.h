// The launcher's main window: thirty position groups, the selected position
// and its frequency, title and web-address lines, two pictures, three buttons
// and the polling timer. Positions are in device-independent pixels, each
// twips value of the original layout divided by 15, so the window keeps its
// 96-DPI proportions at any display scale.
#pragma once

#include <QLabel>
#include <QPixmap>
#include <QWidget>
#include <array>
#include <memory>

#include "app/outside_world.h"
#include "app/position_selection.h"
#include "catalogue/position_catalogue.h"

class QComboBox;
class QGroupBox;
class QPushButton;
class QTimer;

namespace launcher {

class Form2;
class Form4;

// Shows a picture at its own size, never stretched.
class PictureBox : public QLabel {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);
    // Takes the picture's size in device-independent pixels; a null picture
    // empties the box and leaves its size alone.
    void setPicture(const QPixmap& picture);
};

class Form1 : public QWidget {
    Q_OBJECT
public:
    // Builds the controls and runs Form_Load, so the window is ready to show.
    explicit Form1(OutsideWorld world, QWidget* parent = nullptr);
    ~Form1() override;

    // Group n, 1..30.
    QGroupBox& frame(int n) const { return *frames_.at(n - 1); }
    QComboBox& combo(int n) const { return *combos_.at(n - 1); }
    QLabel& selected() const { return *selected_; }
    QLabel& comfreq() const { return *comfreq_; }
    QLabel& accname() const { return *accname_; }
    QLabel& wwwaddy() const { return *wwwaddy_; }
    PictureBox& image1() const { return *image1_; }
    PictureBox& image2() const { return *image2_; }
    // The one Preferences dialog, created hidden at load.
    Form4& form4() const { return *form4_; }
    // The Final Setup dialog, created hidden at load; null once its close box
    // dropped it, until the next Launch creates it afresh.
    Form2* form2() const { return form2_.get(); }

    // Height of the whole window, title bar and borders included. Until the
    // window system reports the frame, a typical frame is assumed and the
    // height is corrected as soon as the real one is known.
    void setOuterHeight(int pixels);

signals:
    // A position was picked from group n's list (never sent for typing).
    void groupPicked(int n);

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Combo_Click(int n);  // Combo1_Click .. Combo30_Click
    void Timer1_Timer();

private:
    class ComboTexts;

    void BuildControls();
    void Form_Load();
    void Form_Unload();
    void EndProgram();
    void LoadForm2();
    void ApplyOuterHeight();

    OutsideWorld world_;
    std::array<QGroupBox*, kGroupCount> frames_{};
    std::array<QComboBox*, kGroupCount> combos_{};
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* command3_ = nullptr;
    QLabel* label1_ = nullptr;
    QLabel* label2_ = nullptr;
    QLabel* selected_ = nullptr;
    QLabel* comfreq_ = nullptr;
    QLabel* accname_ = nullptr;
    QLabel* wwwaddy_ = nullptr;
    PictureBox* image1_ = nullptr;
    PictureBox* image2_ = nullptr;
    QTimer* timer1_ = nullptr;

    std::unique_ptr<ComboTexts> comboTexts_;
    std::unique_ptr<PositionSelection> selection_;  // created at load
    // A window of its own, without an owner, so it neither stays above the
    // main window nor hides with it.
    std::unique_ptr<Form4> form4_;
    // Declared after form4_, which it reads, so it goes first.
    std::unique_ptr<Form2> form2_;

    int outerHeight_ = 0;  // 0: never set, the client height stays as designed
    bool frameSettled_ = false;
    bool shownOnce_ = false;
};

// Puts the catalogue on the window: only named groups show, each list gets
// its group's entries, and the window takes the height that fits the rows in
// use.
void ShowPositionCatalogue(const PositionCatalogue& catalogue, Form1& form);

}  // namespace launcher
