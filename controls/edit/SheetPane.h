#pragma once

#include <QPlainTextEdit>

// A plain text pane that can show its text as on the exam's answer sheet:
// wrapped at SheetColumns::FullWidthColumns full-width columns of the sheet's
// font, each displayed line numbered in a margin on the left. Only the display
// changes: the text never gets a line break.
class SheetPane : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit SheetPane(QWidget *parent = nullptr);

    // Shows the sheet in `font`, or changes its font; the wrapping, font and
    // margins the pane had before are kept for hideSheet().
    void showSheet(const QFont &font);
    void hideSheet();
    bool showsSheet() const { return m_sheet; }

    // The learner's font: the pane's own, or while the sheet shows, the one
    // hideSheet() gives back, which follows fonts set on the pane meanwhile.
    QFont learnerFont() const { return m_sheet ? m_learnerFont : font(); }
    // The width beside the frame and scroll bar, where margin and lines go.
    int room() const;
    // The room a sheet line of `font` needs, with its number margin.
    int roomNeeded(const QFont &font) const;
    QWidget *numberMargin() const { return m_numbers; }

signals:
    // A font was set on the pane while the sheet showed: the learner's font changed.
    void learnerFontChanged();

protected:
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class SheetNumbers;
    void paintNumbers(QPaintEvent *event);
    void placeSheet();
    void setSheetFont(const QFont &font);
    void takeLearnerFont();
    int numberMarginWidth(const QFont &font) const;
    int wrapWidth(const QFont &font) const;

    bool m_sheet = false;
    bool m_settingFont = false;
    QFont m_sheetFont;
    QFont m_learnerFont;
    QTextOption::WrapMode m_learnerWrap = QTextOption::WrapAtWordBoundaryOrAnywhere;
    QMargins m_learnerMargins;
    QWidget *m_numbers;
};
