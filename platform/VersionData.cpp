#include "VersionData.h"

namespace VersionData {

namespace {
constexpr auto Translation = "041103A4";
constexpr std::pair<const char *, const char *> Values[] = {
    { "FileVersion", "0.1.1.20" },
    { "ProductName", "Vemi Tapiro" },
    { "LegalCopyright", "Copyright (C) VemiTrainer developers" },
};
} // namespace

QString translation()
{
    return QString::fromLatin1(Translation);
}

QString query(const QString &subBlock)
{
    const QString prefix = QStringLiteral("\\StringFileInfo\\") + translation() + u'\\';
    if (!subBlock.startsWith(prefix, Qt::CaseInsensitive))
        return QString();
    const QString name = subBlock.mid(prefix.size());
    for (const auto &[key, value] : Values) {
        if (name.compare(QLatin1String(key), Qt::CaseInsensitive) == 0)
            return QString::fromUtf8(value);
    }
    return QString();
}

} // namespace VersionData
