// The window's side of the answer sheet layout: its View menu switch, kept in
// the settings file's [Sheet] section.
#include "app/Main.h"

#include "app/AnswerSheet.h"
#include "controls/edit/SheetPane.h"

#include <QAction>

void TMainForm::setupSheetCommands()
{
    SheetItem = makeAction("答案用紙レイアウト(&L)");
    SheetItem->setCheckable(true);
    m_answerSheet
        = std::make_unique<AnswerSheet>(QList<SheetPane *> { qobject_cast<SheetPane *>(LeftMemo),
                                            qobject_cast<SheetPane *>(RightMemo) },
            [this](const QString &text) { setStatusPanelText(1, text); });
    connect(SheetItem, &QAction::triggered, this, &TMainForm::SheetItemClick);
}

void TMainForm::SheetItemClick()
{
    m_sheet.Enabled = SheetItem->isChecked();
    m_answerSheet->setShown(m_sheet.Enabled);
}

void TMainForm::applySheetSettings()
{
    SheetItem->setChecked(m_sheet.Enabled);
    m_answerSheet->setShown(m_sheet.Enabled);
}
