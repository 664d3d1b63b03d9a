#pragma once

#include <QString>

class Dialogs;
class QWidget;

constexpr auto ApplicationTitle = "VemiTrainer";

// The message as the error box shows it: a full stop is added unless it ends with one.
QString errorBoxText(const QString &message);

// Shows the error box: error icon, the application title as caption, one OK button.
void showErrorBox(Dialogs &dialogs, QWidget *parent, const QString &message);
