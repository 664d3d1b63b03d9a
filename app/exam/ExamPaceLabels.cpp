#include "app/exam/ExamPaceLabels.h"

#include "core/exam/ExamPace.h"

#include <QBoxLayout>
#include <QLabel>

ExamPaceLabels::ExamPaceLabels(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    PaceLabel = new QLabel(this);
    PaceLabel->setToolTip(QStringLiteral("合格点を 10 分で打つのに要る 1 分あたりの文字数"));
    LeadLabel = new QLabel(this);
    LeadLabel->setToolTip(QStringLiteral("今の得点と、必要ペースで進んだときの得点との差"));
    KanjiLabel = new QLabel(this);
    KanjiLabel->setToolTip(QStringLiteral("練習文の漢字の割合と、それに合うワープロ検定の級"));
    for (QLabel *label : { PaceLabel, LeadLabel, KanjiLabel }) {
        label->setContentsMargins(6, 0, 6, 0);
        layout->addWidget(label);
    }
    LeadLabel->hide();
    KanjiLabel->hide();
}

void ExamPaceLabels::showPace(int passMark)
{
    PaceLabel->setText(QStringLiteral("必要ペース ") + ExamPace::neededText(passMark));
}

void ExamPaceLabels::showLead(int lead)
{
    LeadLabel->setText(ExamPace::leadText(lead));
    LeadLabel->setStyleSheet(
        lead >= 0 ? QStringLiteral("color: darkgreen") : QStringLiteral("color: darkred"));
    LeadLabel->show();
}

void ExamPaceLabels::clearLead()
{
    LeadLabel->clear();
    LeadLabel->hide();
}

void ExamPaceLabels::showKanji(const QString &caption)
{
    KanjiLabel->setText(caption);
    KanjiLabel->setVisible(!caption.isEmpty());
}
