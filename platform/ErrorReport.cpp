#include "platform/ErrorReport.h"

#include "platform/Dialogs.h"

QString errorBoxText(const QString &message)
{
    if (message.isEmpty() || message.endsWith(u'.') || message.endsWith(u'。'))
        return message;
    return message + u'.';
}

void showErrorBox(Dialogs &dialogs, QWidget *parent, const QString &message)
{
    dialogs.message(parent, QMessageBox::Critical, QString::fromUtf8(ApplicationTitle),
        errorBoxText(message), QMessageBox::Ok, QMessageBox::Ok);
}
