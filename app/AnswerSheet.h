#pragma once

#include <QFont>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class SheetPane;

// The panes shown as on the exam's answer sheet (表示 → 答案用紙レイアウト):
// both in one font, each line 40 squares wide, so the practice text and the
// typed text line up line by line. The columns come out exact in a font whose
// half-width advance is half its full-width one; the sheet picks such a font
// where one is installed, at the learner's size or smaller where the panes are
// too narrow for a whole line.
class AnswerSheet : public QObject
{
    Q_OBJECT
public:
    // tell shows the learner a line in the status bar.
    AnswerSheet(const QList<SheetPane *> &panes, std::function<void(const QString &)> tell,
        QObject *parent = nullptr);

    void setShown(bool shown);
    bool isShown() const { return m_shown; }
    // The font the panes show the sheet in, while it shows.
    QFont sheetFont() const { return m_font; }

    // Whether `font` puts two half-width characters exactly in a full-width square.
    static bool hasExactColumns(const QFont &font);
    // The learner's face if its columns are exact, else the first installed face
    // that has them, at pixelSize; empty where none has.
    static QString exactFamily(const QFont &learnerFont, int pixelSize);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void apply();
    QFont fontAt(const QFont &learnerFont, int pixelSize) const;

    QList<SheetPane *> m_panes;
    std::function<void(const QString &)> m_tell;
    bool m_shown = false;
    bool m_toldFont = false;
    QFont m_font;
};
