#include "platform/Dialogs.h"

#include <QFileDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPushButton>

namespace {

// The program's filters are written "description|pattern"; Qt wants "description".
QString qtFilter(const QString &filter)
{
    return filter.section(u'|', 0, 0);
}

void setJapaneseCaptions(QMessageBox &box)
{
    const std::pair<QMessageBox::StandardButton, const char *> captions[] = {
        { QMessageBox::Yes, "はい(&Y)" },
        { QMessageBox::No, "いいえ(&N)" },
        { QMessageBox::Cancel, "キャンセル" },
        { QMessageBox::Ok, "OK" },
    };
    for (const auto &[button, caption] : captions) {
        if (QAbstractButton *b = box.button(button))
            b->setText(QString::fromUtf8(caption));
    }
}

} // namespace

QMessageBox::StandardButton QtDialogs::message(QWidget *parent, QMessageBox::Icon icon,
    const QString &caption, const QString &text, QMessageBox::StandardButtons buttons,
    QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, caption, text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    setJapaneseCaptions(box);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString QtDialogs::openFileName(QWidget *parent, const QString &filter, const QString &preset)
{
    return QFileDialog::getOpenFileName(parent, QString(), preset, qtFilter(filter));
}

QString QtDialogs::saveFileName(
    QWidget *parent, const QString &filter, const QString &preset, const QString &defaultSuffix)
{
    QFileDialog dialog(parent, QString(), preset, qtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

bool QtDialogs::print(QWidget *parent, QPrinter &printer)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtDialogs::pageSetup(QWidget *parent, QPrinter &printer)
{
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

QStringList qtNameFilters(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString &pattern : parts.at(i + 1).split(u';', Qt::SkipEmptyParts)) {
            if (pattern == QLatin1String("*.*"))
                patterns << QStringLiteral("*");
            else if (pattern.compare(QLatin1String("*.wav"), Qt::CaseInsensitive) == 0)
                patterns << QStringLiteral("*.wav") << QStringLiteral("*.WAV");
            else
                patterns << pattern;
        }
        filters << parts.at(i) + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return filters;
}

QString Dialogs::browseFileName(QWidget *parent, const FileDialogRequest &request)
{
    const QString preset = request.fileName.isEmpty() || request.fileName.startsWith(u'/')
        ? request.fileName
        : request.initialDir + u'/' + request.fileName;
    return openFileName(parent, request.filter, preset);
}

QString QtDialogs::browseFileName(QWidget *parent, const FileDialogRequest &request)
{
    const QStringList filters = qtNameFilters(request.filter);
    QFileDialog dialog(parent, request.title, request.initialDir);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // The descriptions already name their patterns.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(request.filterIndex - 1));
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}
