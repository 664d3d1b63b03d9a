#pragma once

#include "core/settings/ColorNames.h"

#include <QDialog>

class Dialogs;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;
class TColorPickerButton;
class TFilenameEdit;
class TLCD99;
class TSpinEdit;
struct Settings;

// Edits the timer's minutes, the two sounds and the timer display's colours.
// The settings record is read when the dialog is created and written back, with
// the main display recoloured, only on OK.
class TOptionForm : public QDialog
{
    Q_OBJECT
public:
    static constexpr ColorValue DefaultForeColor = 0x000000; // clBlack
    static constexpr ColorValue DefaultBackColor = 0xFFFFFF; // clWhite
    static constexpr int LatestMinute = 99;

    // mainDisplay may be null; it then takes no colours.
    TOptionForm(
        Settings &settings, TLCD99 *mainDisplay, Dialogs &dialogs, QWidget *parent = nullptr);

    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;
    QTabWidget *PageControl1 = nullptr;
    QWidget *TabSheet1 = nullptr;
    QWidget *TabSheet2 = nullptr;
    QWidget *TabSheet3 = nullptr;
    QWidget *TabSheet4 = nullptr;
    QGroupBox *GroupBox1 = nullptr;
    QGroupBox *GroupBox2 = nullptr;
    QGroupBox *GroupBox3 = nullptr;
    QGroupBox *GroupBox4 = nullptr;
    QCheckBox *CheckBox1 = nullptr;
    QCheckBox *CheckBox2 = nullptr;
    QCheckBox *CheckBox3 = nullptr;
    QCheckBox *CheckBox4 = nullptr;
    QCheckBox *CheckBox5 = nullptr;
    QCheckBox *ReturnCheckBox = nullptr;
    QCheckBox *SpaceCheckBox = nullptr;
    TSpinEdit *SpinEdit1 = nullptr; // minutes until the alarm
    TSpinEdit *SpinEdit2 = nullptr; // minutes until the pre-alarm
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    TFilenameEdit *FilenameEdit1 = nullptr; // alarm sound
    TFilenameEdit *FilenameEdit2 = nullptr; // pre-alarm sound
    TColorPickerButton *ForeColorButton = nullptr;
    TColorPickerButton *BackColorButton = nullptr;
    TLCD99 *LCD99 = nullptr; // the preview

signals:
    // The mark switches were stored; the main window's ShowMarks follows.
    void marksChanged();

public slots:
    void SpinEditChange();
    void ColorButtonChange();
    void OKBtnClick();

private:
    void setupControls();
    void centreOnScreen();
    void setupTimerPage();
    void setupColorPage();
    void setupHiddenPages();
    QWidget *addPage(const QString &caption, QGroupBox *&groupBox, const QString &title);
    TFilenameEdit *makeSoundEdit(QWidget *parent, int y, const QString &title);
    void FormCreate();
    void fillColors();
    // Keeps 1 <= pre-alarm < alarm <= 99; `changed` (one of the spin edits, or null
    // for both) gives way when the two collide.
    void keepMinutesInOrder(const TSpinEdit *changed);
    bool refuseUnholdablePath(TFilenameEdit *edit, const QString &opened);

    Settings &m_settings;
    TLCD99 *m_mainDisplay;
    Dialogs &m_dialogs;
    bool m_orderingMinutes = false;
};
