#include "app/Main.h"
#include "app/exam/ExamScoring.h"

#include "controls/edit/RxCombos.h"
#include "controls/layout/RXSplit.h"
#include "controls/lcd/Lcd99.h"
#include "core/Errors.h"
#include "core/settings/ColorNames.h"
#include "core/settings/SettingsFile.h"
#include "core/text/IntegerText.h"
#include "platform/Dialogs.h"
#include "platform/ErrorReport.h"
#include "platform/ProgramPath.h"
#include "platform/SystemColors.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSessionManager>
#include <QToolBar>
#include <QToolButton>

#include <cstdio>

namespace {
// Larger sizes make a pane's layout crawl; no screen font is that big.
constexpr int LargestFontSize = 1638;

bool isUsableFontSize(int points)
{
    return points > 0 && points <= LargestFontSize;
}
} // namespace

void TMainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    FormShow();
}

void TMainForm::FormShow()
{
    m_scores.clear();
    try {
        loadSettings(); // every section, the exam bar's included
        m_examScoring->applySettings();
        applySheetSettings(); // before the fonts, whose sizes a settings file may garble
        applyLcdColors();
        applyFonts();
        m_settings.DoubleView ? Mode2ButtonClick() : Mode1ButtonClick();
        FormResize();
        setUntitled();
        RightMemo->document()->setModified(false);
        ShowMarks();
    } catch (const VemiError &error) {
        // The window still opens with whatever was applied before the error.
        reportError(error.message());
    }
}

// The one object that reads and writes the settings file, for the whole run:
// it remembers which scores the file already has.
SettingsFile &TMainForm::settingsFile()
{
    if (!m_settingsFile || m_settingsFile->path() != settingsFilePath())
        m_settingsFile
            = std::make_unique<SettingsFile>(settingsFilePath(), m_layout.shippedFolder());
    return *m_settingsFile;
}

void TMainForm::loadSettings()
{
    SettingsFile &file = settingsFile();
    if (!file.exists()) {
        LoadDefaultSetting();
        return;
    }
    const FontTexts font = file.load(m_settings, m_scores, m_exam, m_flash, m_sheet);
    FontCombo->setCurrentText(font.name);
    FontSizeCombo->setCurrentText(font.size);
}

void TMainForm::LoadDefaultSetting()
{
    FontCombo->setCurrentText(QStringLiteral("MS ゴシック"));
    FontSizeCombo->setCurrentText(QStringLiteral("12"));
    QFont paneFont = RightMemo->font();
    paneFont.setFamily(FontCombo->currentText());
    paneFont.setPointSize(12);
    RightMemo->setFont(paneFont);
    LeftMemo->setFont(paneFont);
    m_settings.applyDefaults(m_layout.shippedFolder());
    Mode2ButtonClick();
}

void TMainForm::applyLcdColors()
{
    const QColor back = SystemColors::resolve(ColorNames::textToColor(m_settings.LCDBackColor));
    const QColor fore = SystemColors::resolve(ColorNames::textToColor(m_settings.LCDForeColor));
    // Unlit segments take the background colour, so only the lit ones show.
    LCD99->setColor(back);
    LCD99->setOffColor(back);
    LCD99->setOnColor(fore);
}

void TMainForm::applyFonts()
{
    QFont paneFont = RightMemo->font();
    paneFont.setFamily(FontCombo->currentText());
    const int points = IntegerText::toInt(FontSizeCombo->currentText());
    if (isUsableFontSize(points))
        paneFont.setPointSize(points);
    RightMemo->setFont(paneFont);
    LeftMemo->setFont(paneFont);
}

void TMainForm::Mode2ButtonClick()
{
    N7->setChecked(true); // also shows Mode2Button pressed and releases N6 and Mode1Button
    LeftMemo->setVisible(true);
    Splitter->setVisible(true);
    applyLeftMemoWidth();
    m_settings.DoubleView = true;
    LineLengthChange();
}

void TMainForm::Mode1ButtonClick()
{
    N6->setChecked(true);
    LeftMemo->setVisible(false); // its text stays for when two-pane mode returns
    Splitter->setVisible(false); // a bar with nothing to resize would only mislead
    m_settings.DoubleView = false;
    LineLengthChange();
}

void TMainForm::FontComboChange()
{
    const QString family = FontCombo->currentText();
    for (QPlainTextEdit *pane : { RightMemo, LeftMemo }) {
        QFont font = pane->font();
        font.setFamily(family);
        pane->setFont(font);
    }
}

void TMainForm::FontSizeComboChange()
{
    const auto points = IntegerText::parse(FontSizeCombo->currentText());
    if (!points || !isUsableFontSize(*points))
        return;
    setPaneFontSize(*points);
    LineLengthChange();
}

void TMainForm::setPaneFontSize(int points)
{
    for (QPlainTextEdit *pane : { RightMemo, LeftMemo }) {
        QFont font = pane->font();
        font.setPointSize(points);
        pane->setFont(font);
    }
}

void TMainForm::Exit1Click()
{
    close();
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    if (!FormCloseQuery() || !FormClose()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

// Writes the settings file; when it cannot be written the learner chooses
// between quitting without saving and keeping the window open.
bool TMainForm::FormClose()
{
    try {
        writeSettings();
        tellReplacedSettings();
        return true;
    } catch (const VemiError &error) {
        reportError(error.message());
    }
    const auto answer = m_services.dialogs.message(this, QMessageBox::Question,
        QString::fromUtf8(ApplicationTitle), QStringLiteral("設定を保存せずに終了しますか？"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return answer == QMessageBox::Yes;
}

void TMainForm::writeSettings()
{
    const FontTexts font { FontCombo->currentText(), FontSizeCombo->currentText() };
    m_replacedSettings.clear();
    m_layout.makeUserFolders(); // the learner may have removed them while the program ran
    for (const auto &replaced : settingsFile().save(m_settings, font, m_exam, m_sheet, m_scores))
        m_replacedSettings << QStringLiteral("%1: %2（「%3」）")
                                  .arg(replaced.key, replaced.value, replaced.character);
}

// A crash, kill or power cut after the ten-minute capture must not take its
// score: the file gets what the exit would write, at once. The exit writes again.
// Told in the status bar, as a failed sound is: a message box at 10:00 would
// take the keystrokes of a learner still typing. The score stays in the list
// and is written again at the next capture and at exit.
void TMainForm::writeScoresAtCapture()
{
    try {
        writeSettings();
    } catch (const VemiError &error) {
        const QString text
            = error.message() + QStringLiteral(" 成績は終了時にもう一度書き込みます。");
        setStatusPanelText(1, text);
        m_statusPanels[1]->setToolTip(text);
    }
}

// Once a session: the learner learns which value will come back changed, and why.
void TMainForm::tellReplacedSettings()
{
    if (m_replacedSettings.isEmpty() || m_toldReplacedSettings)
        return;
    m_toldReplacedSettings = true;
    m_services.dialogs.message(this, QMessageBox::Information, QString::fromUtf8(ApplicationTitle),
        QStringLiteral("次の設定には Shift-JIS の設定ファイルに書けない文字があるため、"
                       "その文字を「?」に置き換えて保存しました。\n"
                       "次回の起動では「?」のまま読み込まれます。\n\n")
            + m_replacedSettings.join(u'\n'),
        QMessageBox::Ok, QMessageBox::Ok);
}

// Nobody is left to answer a box: the reason goes to standard error.
void TMainForm::saveSettingsForSessionEnd()
{
    try {
        writeSettings();
    } catch (const VemiError &error) {
        const QByteArray line = error.message().toLocal8Bit() + '\n';
        std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
        std::fflush(stderr);
    }
}

// With interaction the session's end is a close: the close question and a settings
// file that cannot be written may both refuse it.
void TMainForm::commitSession(QSessionManager &manager)
{
    if (!manager.allowsInteraction()) {
        saveSettingsForSessionEnd();
        return;
    }
    const bool mayEnd = FormCloseQuery() && FormClose();
    manager.release();
    if (!mayEnd)
        manager.cancel();
}
