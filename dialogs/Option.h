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
    static constexpr ColorValue DefaultForeColor = ColorNames::clBlack;
    static constexpr ColorValue DefaultBackColor = ColorNames::clWhite;
    static constexpr int LatestMinute = 99;

    // mainDisplay may be null; it then takes no colours.
    TOptionForm(
        Settings &settings, TLCD99 *mainDisplay, Dialogs &dialogs, QWidget *parent = nullptr);

    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;
    QTabWidget *PageControl1 = nullptr; // the pages below
    QWidget *TabSheet1 = nullptr; // page "タイマー" (timer)
    QWidget *TabSheet2 = nullptr; // page "色" (colours)
    QWidget *TabSheet3 = nullptr; // page "表示" (display marks), left empty
    QWidget *TabSheet4 = nullptr; // page "フォント" (font box), left empty
    QGroupBox *GroupBox1 = nullptr; // the timer page's frame
    QGroupBox *GroupBox2 = nullptr; // the mark switches, hidden
    QGroupBox *GroupBox3 = nullptr; // the colour page's frame
    QGroupBox *GroupBox4 = nullptr; // the font box switches, hidden
    QCheckBox *CheckBox1 = nullptr; // PreAlarm: sound the pre-alarm
    QCheckBox *CheckBox2 = nullptr; // Alarm: sound the alarm
    QCheckBox *CheckBox3 = nullptr; // font box: TrueType fonts only (hidden, unused)
    QCheckBox *CheckBox4 = nullptr; // font box: fixed-pitch fonts only (hidden, unused)
    QCheckBox *CheckBox5 = nullptr; // font box: names in their own font (hidden, unused)
    QCheckBox *ReturnCheckBox = nullptr;
    QCheckBox *SpaceCheckBox = nullptr;
    TSpinEdit *SpinEdit1 = nullptr; // minutes until the alarm
    TSpinEdit *SpinEdit2 = nullptr; // minutes until the pre-alarm
    QLabel *Label1 = nullptr; // "分" after the alarm minutes
    QLabel *Label2 = nullptr; // "分" after the pre-alarm minutes
    QLabel *Label3 = nullptr; // "文字色", before ForeColorButton
    QLabel *Label4 = nullptr; // "背景色", before BackColorButton
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
