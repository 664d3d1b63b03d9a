#include "core/plot/PlotScale.h"

#include <cmath>

// A window description carries an axis in this form; only the last value read
// runs the range setting.
QList<Tsp_Scale::StoredValue> Tsp_Scale::StoredValues() const
{
    QList<StoredValue> values;
    values.append({ QStringLiteral("SFlags"), m_flags });
    values.append({ QStringLiteral("SLinePos"), QVariantList { m_lineX, m_lineY, m_lineLength } });
    if (m_min != 0)
        values.append({ QStringLiteral("fMin"), m_min });
    values.append({ QStringLiteral("fMax"), m_max });
    return values;
}

void Tsp_Scale::ReadStoredValue(const QString &name, const QVariant &value)
{
    bool ok = false;
    if (name == u"SFlags") {
        const quint32 flags = value.toUInt(&ok);
        if (ok)
            m_flags = flags;
    } else if (name == u"SLinePos") {
        const QVariantList list = value.toList();
        if (list.size() != 3)
            return;
        bool okY = false;
        bool okLength = false;
        const int x = list.at(0).toInt(&ok);
        const int y = list.at(1).toInt(&okY);
        const int length = list.at(2).toInt(&okLength);
        if (ok && okY && okLength)
            SetLinePos(x, y, length); // the range stays; only the mapping follows the line
    } else if (name == u"fMin") {
        const double min = value.toDouble(&ok);
        if (ok && std::isfinite(min))
            m_min = min;
    } else if (name == u"fMax") {
        const double max = value.toDouble(&ok);
        if (ok)
            SetMinMax(max, m_min);
    }
}
