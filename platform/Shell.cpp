#include "platform/Shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace {
class DesktopShell final : public Shell
{
public:
    bool open(const QUrl &address) override { return QDesktopServices::openUrl(address); }
};
} // namespace

Shell &Shell::desktop()
{
    static DesktopShell shell;
    return shell;
}
