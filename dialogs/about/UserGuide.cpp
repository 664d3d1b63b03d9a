#include "dialogs/about/UserGuide.h"

#include "platform/ErrorReport.h"
#include "platform/Shell.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace UserGuide {

void open(Shell &shell, Dialogs &dialogs, QWidget *parent, const QString &guideFile)
{
    const bool exists = QFileInfo(guideFile).isFile();
    if (exists && shell.open(QUrl::fromLocalFile(guideFile)))
        return;
    showErrorBox(dialogs, parent, cannotOpenMessage(guideFile, exists));
}

QString cannotOpenMessage(const QString &guideFile, bool exists)
{
    const QString path = QDir::toNativeSeparators(guideFile);
    if (!exists)
        return QStringLiteral("使い方のファイル %1 がありません。").arg(path);
    return QStringLiteral("使い方を表示できるプログラム（ブラウザー）が見つかりません。"
                          "次のファイルをブラウザーで開いてください。\n%1")
        .arg(path);
}

} // namespace UserGuide
