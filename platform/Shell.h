#pragma once

#include <QString>

namespace Shell {

// Opens a web address in the user's browser; failures are ignored.
void openWebAddress(const QString &address);

} // namespace Shell
