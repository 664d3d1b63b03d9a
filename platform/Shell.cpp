#include "Shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace Shell {

void openWebAddress(const QString &address)
{
    QDesktopServices::openUrl(QUrl(address));
}

} // namespace Shell
