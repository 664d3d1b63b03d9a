#include "Shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace {
class DesktopShell final : public Shell
{
public:
    void open(const QUrl &address) override { QDesktopServices::openUrl(address); }
};
} // namespace

Shell &Shell::desktop()
{
    static DesktopShell shell;
    return shell;
}
