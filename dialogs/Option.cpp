#include "dialogs/Option.h"

#include "controls/color/ColorPickerButton.h"
#include "controls/edit/Spin.h"
#include "controls/edit/ToolEdit.h"
#include "controls/layout/FormFont.h"
#include "controls/lcd/Lcd99.h"
#include "core/Errors.h"
#include "core/settings/Settings.h"
#include "platform/Dialogs.h"
#include "platform/ErrorReport.h"
#include "platform/SystemColors.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr QSize ClientSize(290, 224);
constexpr QRect PageControlRect(0, 0, 289, 185);
const QString SoundFilter = QStringLiteral("wavファイル(*.wav)|*.wav|すぺてのファイル (*.*)|*.*");
constexpr int AlarmButtonWidth = 20;

ColorValue colorOrDefault(const QString &name, ColorValue fallback, QStringList &errors)
{
    try {
        return ColorNames::textToColor(name);
    } catch (const VemiError &error) {
        errors << error.message();
        return fallback;
    }
}

void place(QWidget *widget, int x, int y, int width, int height)
{
    widget->setGeometry(x, y, width, height);
}

} // namespace

TOptionForm::TOptionForm(Settings &settings, TLCD99 *mainDisplay, Dialogs &dialogs, QWidget *parent)
    : QDialog(parent)
    , m_settings(settings)
    , m_mainDisplay(mainDisplay)
    , m_dialogs(dialogs)
{
    setupControls();
    centreOnScreen();
    FormCreate();
}

// On the screen's centre rather than over the main window; moving it first keeps
// Qt from placing it over its parent.
void TOptionForm::centreOnScreen()
{
    const QScreen *screen
        = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    move(screen->availableGeometry().center() - rect().center());
}

void TOptionForm::setupControls()
{
    setWindowTitle(QStringLiteral("環境設定"));
    setFixedSize(ClientSize);
    setFont(FormFont::font());

    PageControl1 = new QTabWidget(this);
    PageControl1->setGeometry(PageControlRect);
    setupTimerPage();
    setupColorPage();
    setupHiddenPages();
    PageControl1->setCurrentIndex(0);

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    place(OKBtn, 60, 192, 75, 25);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("キャンセル"), this);
    place(CancelBtn, 148, 192, 75, 25);
    connect(OKBtn, &QPushButton::clicked, this, &TOptionForm::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

QWidget *TOptionForm::addPage(const QString &caption, QGroupBox *&groupBox, const QString &title)
{
    auto *page = new QWidget;
    groupBox = new QGroupBox(title, page);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(groupBox);
    PageControl1->addTab(page, caption);
    return page;
}

void TOptionForm::setupTimerPage()
{
    TabSheet1 = addPage(QStringLiteral("タイマー"), GroupBox1, QStringLiteral("タイマー"));
    CheckBox2 = new QCheckBox(QStringLiteral("設定時間に音を鳴らす"), GroupBox1);
    place(CheckBox2, 8, 24, 137, 17);
    SpinEdit1 = new TSpinEdit(GroupBox1);
    Label1 = new QLabel(QStringLiteral("分"), GroupBox1);
    FilenameEdit1 = makeSoundEdit(GroupBox1, 48, QStringLiteral("アラーム音を選択"));
    FilenameEdit1->setButtonWidth(AlarmButtonWidth);
    CheckBox1 = new QCheckBox(QStringLiteral("予鈴を鳴らす"), GroupBox1);
    place(CheckBox1, 8, 96, 97, 17);
    SpinEdit2 = new TSpinEdit(GroupBox1);
    Label2 = new QLabel(QStringLiteral("分"), GroupBox1);
    FilenameEdit2 = makeSoundEdit(GroupBox1, 120, QStringLiteral("予鈴を選択"));

    const std::pair<TSpinEdit *, int> spins[] = { { SpinEdit1, 10 }, { SpinEdit2, 8 } };
    for (const auto &[spin, minutes] : spins) {
        spin->setEditorEnabled(false); // only the arrows change the minutes
        spin->setMinValue(1);
        spin->setMaxValue(LatestMinute);
        spin->setValue(minutes);
        connect(spin, &TSpinEdit::changed, this, &TOptionForm::SpinEditChange);
    }
    place(SpinEdit1, 160, 24, 41, 21);
    Label1->move(205, 29);
    place(SpinEdit2, 160, 96, 41, 21);
    Label2->move(205, 101);
}

TFilenameEdit *TOptionForm::makeSoundEdit(QWidget *parent, int y, const QString &title)
{
    auto *edit = new TFilenameEdit(m_dialogs, parent);
    place(edit, 24, y, 249, 21);
    edit->setDialogTitle(title);
    edit->setFilter(SoundFilter);
    return edit;
}

void TOptionForm::setupColorPage()
{
    TabSheet2 = addPage(QStringLiteral("色"), GroupBox3, QStringLiteral("色"));
    Label3 = new QLabel(QStringLiteral("文字色"), GroupBox3);
    Label3->move(8, 24);
    ForeColorButton = new TColorPickerButton(GroupBox3);
    place(ForeColorButton, 56, 16, 45, 22);
    Label4 = new QLabel(QStringLiteral("背景色"), GroupBox3);
    Label4->move(8, 56);
    BackColorButton = new TColorPickerButton(GroupBox3);
    place(BackColorButton, 56, 48, 45, 22);
    for (TColorPickerButton *button : { ForeColorButton, BackColorButton }) {
        button->setCustomText(QStringLiteral("その他"));
        button->setPopupSpacing(8);
        button->setShowSystemColors(false);
        connect(button, &TColorPickerButton::changed, this, &TOptionForm::ColorButtonChange);
    }

    // The same look as the main window's display.
    LCD99 = new TLCD99(GroupBox3);
    place(LCD99, 32, 96, 73, 22);
    LCD99->setDigitNum(5);
    LCD99->setDigitSpacing(3);
    LCD99->setGapX(1);
    LCD99->setGapY(1);
    LCD99->setAnimation(TLCD99::anDown);
    LCD99->setValue(QStringLiteral("00:00"));
}

// The display and font pages keep controls that are never shown: the mark
// switches still travel through the dialog unchanged.
void TOptionForm::setupHiddenPages()
{
    TabSheet3 = addPage(QStringLiteral("表示"), GroupBox2, QStringLiteral("表示"));
    ReturnCheckBox = new QCheckBox(QStringLiteral("改行マークを表示"), GroupBox2);
    SpaceCheckBox = new QCheckBox(QStringLiteral("スペースマークを表示"), GroupBox2);
    GroupBox2->hide();

    TabSheet4 = new QWidget;
    PageControl1->addTab(TabSheet4, QStringLiteral("フォント"));
    GroupBox4 = new QGroupBox(QStringLiteral("フォント選択ボックス"), TabSheet4);
    GroupBox4->resize(201, 73);
    CheckBox3 = new QCheckBox(QStringLiteral("TrueTypeフォントだけ表示"), GroupBox4);
    CheckBox4 = new QCheckBox(QStringLiteral("固定ピッチフォントだけ表示"), GroupBox4);
    CheckBox5 = new QCheckBox(QStringLiteral("実際のフォントで表示"), GroupBox4);
    GroupBox4->hide();
}

void TOptionForm::FormCreate()
{
    m_orderingMinutes = true; // both values first; then they are put in order together
    SpinEdit1->setValue(m_settings.AlarmTime);
    SpinEdit2->setValue(m_settings.PreAlarmTime);
    m_orderingMinutes = false;
    keepMinutesInOrder(nullptr);
    CheckBox2->setChecked(m_settings.Alarm);
    CheckBox1->setChecked(m_settings.PreAlarm);
    ReturnCheckBox->setChecked(m_settings.ShowReturnMark);
    SpaceCheckBox->setChecked(m_settings.ShowSpaceMark);
    fillColors();
    FilenameEdit1->setText(m_settings.AlarmSoundFile);
    FilenameEdit2->setText(m_settings.PreAlarmSoundFile);
}

// A colour name that cannot be read shows the default and is reported, but
// nothing else is left unfilled: OK then repairs the setting.
void TOptionForm::fillColors()
{
    QStringList errors;
    ForeColorButton->setSelectionColor(
        colorOrDefault(m_settings.LCDForeColor, DefaultForeColor, errors));
    BackColorButton->setSelectionColor(
        colorOrDefault(m_settings.LCDBackColor, DefaultBackColor, errors));
    ColorButtonChange();
    if (!errors.isEmpty())
        showErrorBox(m_dialogs, this, errors.constFirst());
}

void TOptionForm::SpinEditChange()
{
    keepMinutesInOrder(qobject_cast<const TSpinEdit *>(sender()));
}

void TOptionForm::keepMinutesInOrder(const TSpinEdit *changed)
{
    if (m_orderingMinutes)
        return;
    m_orderingMinutes = true;
    int alarm = SpinEdit1->value();
    int pre = SpinEdit2->value();
    // Equal limits lift a spin edit's clamping, so the order is kept here: the
    // box just stepped gives way, the other keeps its value.
    if (changed == SpinEdit1)
        alarm = qBound(pre + 1, alarm, LatestMinute);
    alarm = qBound(2, alarm, LatestMinute);
    pre = qBound(1, pre, alarm - 1);
    SpinEdit1->setMinValue(pre + 1);
    SpinEdit1->setMaxValue(LatestMinute);
    SpinEdit2->setMinValue(1);
    SpinEdit2->setMaxValue(alarm - 1);
    // Written back as text too, so an emptied box shows the value it stands for.
    SpinEdit1->setValue(alarm);
    SpinEdit2->setValue(pre);
    m_orderingMinutes = false;
}

void TOptionForm::ColorButtonChange()
{
    const QColor fore = SystemColors::resolve(ForeColorButton->selectionColor());
    const QColor back = SystemColors::resolve(BackColorButton->selectionColor());
    LCD99->setOnColor(fore);
    LCD99->setColor(back);
    LCD99->setOffColor(back);
}

// A path the settings file cannot hold would not find its file at the next
// start: it is refused and the path the dialog opened with comes back.
bool TOptionForm::refuseUnholdablePath(TFilenameEdit *edit, const QString &opened)
{
    const QString path = edit->unquotedText();
    const QString refusal = TFilenameEdit::unholdablePathMessage(path);
    if (refusal.isEmpty() || path == opened)
        return false;
    m_dialogs.message(this, QMessageBox::Warning, QString::fromUtf8(ApplicationTitle), refusal,
        QMessageBox::Ok, QMessageBox::Ok);
    edit->setText(opened);
    PageControl1->setCurrentWidget(TabSheet1);
    edit->setFocus();
    return true;
}

void TOptionForm::OKBtnClick()
{
    if (refuseUnholdablePath(FilenameEdit1, m_settings.AlarmSoundFile)
        || refuseUnholdablePath(FilenameEdit2, m_settings.PreAlarmSoundFile))
        return;
    m_settings.AlarmTime = SpinEdit1->value();
    m_settings.PreAlarmTime = SpinEdit2->value();
    m_settings.Alarm = CheckBox2->isChecked();
    m_settings.PreAlarm = CheckBox1->isChecked();
    m_settings.ShowReturnMark = ReturnCheckBox->isChecked();
    m_settings.ShowSpaceMark = SpaceCheckBox->isChecked();
    emit marksChanged();
    m_settings.LCDForeColor = ColorNames::colorToText(ForeColorButton->selectionColor());
    m_settings.LCDBackColor = ColorNames::colorToText(BackColorButton->selectionColor());
    if (m_mainDisplay) {
        m_mainDisplay->setColor(LCD99->color());
        m_mainDisplay->setOffColor(LCD99->color());
        m_mainDisplay->setOnColor(LCD99->onColor());
    }
    // The text as shown, less one enclosing pair of quotes: cutting at a blank
    // would lose the name of a file that is missing just now.
    m_settings.AlarmSoundFile = FilenameEdit1->unquotedText();
    m_settings.PreAlarmSoundFile = FilenameEdit2->unquotedText();
    accept();
}
