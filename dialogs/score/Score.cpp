#include "dialogs/score/Score.h"

#include "controls/layout/FormFont.h"
#include "controls/plot/sgr_def.h"
#include "controls/plot/sgr_defAxis.h"
#include "controls/plot/sgr_defSeries.h"
#include "core/Errors.h"
#include "core/text/IntegerText.h"
#include "dialogs/score/ScoreChart.h"
#include "platform/ErrorReport.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace {

// "x", "X", "0x" and "0X" introduce hexadecimal digits just as "$" does.
QString withDollarPrefix(const QString &entry)
{
    qsizetype at = 0;
    while (at < entry.size() && entry.at(at) == u' ')
        ++at;
    if (at < entry.size() && (entry.at(at) == u'-' || entry.at(at) == u'+'))
        ++at;
    const QStringView rest = QStringView(entry).mid(at);
    QString result = entry;
    if (rest.startsWith(u"0x", Qt::CaseInsensitive))
        result.replace(at, 2, u'$');
    else if (rest.startsWith(u'x', Qt::CaseInsensitive))
        result.replace(at, 1, u'$');
    return result;
}
} // namespace

TScoreForm::TScoreForm(const QStringList *scores, Dialogs &dialogs, QWidget *parent)
    : QDialog(parent)
    , m_scores(scores)
    , m_dialogs(dialogs)
{
    setupControls();
    setupChart();
    setupSeries();
    FormCreate();
}

qint32 TScoreForm::scoreValue(const QString &entry)
{
    if (const auto value = IntegerText::parse(withDollarPrefix(entry)))
        return *value;
    return IntegerText::toInt(entry); // fails, and names the entry as it is stored
}

void TScoreForm::setupControls()
{
    setWindowTitle(QStringLiteral("10分間に打った文字数"));
    resize(ClientSize);
    setFont(FormFont::font());
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    Button1 = new QPushButton(QStringLiteral("閉じる"), this);
    Button1->setGeometry(264, 400, 75, 25);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    XYPlot = new Tsp_XYPlot(this);
    XYPlot->setGeometry(0, 0, ClientSize.width(), PlotHeight);
    setTabOrder(Button1, XYPlot);
    Button1->setFocus();
}

void TScoreForm::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    XYPlot->setGeometry(0, 0, width(), PlotHeight); // kept at the top, as wide as the window
}

void TScoreForm::setupChart()
{
    ScoreChart::style(*XYPlot, 9.2);
}

void TScoreForm::setupSeries()
{
    XYLine = ScoreChart::addScoreLine(*XYPlot, this, QStringLiteral("Score"));
}

// One point per entry at x = its position from 1. An entry that is not an
// integer is skipped, so the entries after it still show where they belong;
// the first one is named in the error box.
void TScoreForm::FormCreate()
{
    if (!m_scores)
        return;
    const auto count = int(m_scores->size());
    Tsp_Axis &bottom = *XYPlot->BottomAxis();
    bottom.setTicksCount(std::min(count, ScoreChart::MaxBottomTicks));
    bottom.setMax(count);
    QString firstError;
    for (int i = 0; i < count; ++i) {
        try {
            XYLine->AddXY(i + 1, scoreValue(m_scores->at(i)));
        } catch (const VemiError &error) {
            if (firstError.isNull())
                firstError = error.message();
        }
    }
    if (!firstError.isNull())
        showErrorBox(m_dialogs, this, firstError);
}
