#include "controls/plot/sgr_defAccessible.h"

#include "controls/plot/sgr_def.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace {

// Enough digits to tell zoomed ranges apart, without trailing zeros.
QString number(double value)
{
    return QString::number(value, 'g', 12);
}

QString axisRange(const QString &name, const Tsp_Axis &axis)
{
    return QStringLiteral("%1 %2～%3").arg(name, number(axis.min()), number(axis.max()));
}

class XYPlotAccessible final : public QAccessibleWidget
{
public:
    explicit XYPlotAccessible(QWidget *widget)
        : QAccessibleWidget(widget, QAccessible::Chart)
    { }

    QString text(QAccessible::Text t) const override
    {
        const auto *plot = static_cast<const Tsp_XYPlot *>(widget());
        if (t == QAccessible::Value || t == QAccessible::Description)
            return xyPlotDescription(*plot);
        if (t == QAccessible::Name && plot->accessibleName().isEmpty())
            return QStringLiteral("グラフ");
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *plotFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("Tsp_XYPlot") && object && object->isWidgetType())
        return new XYPlotAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

QString xyPlotDescription(const Tsp_XYPlot &plot)
{
    return QStringList { axisRange(QStringLiteral("横軸"), *plot.BottomAxis()),
        axisRange(QStringLiteral("縦軸"), *plot.LeftAxis()),
        axisRange(QStringLiteral("上軸"), *plot.TopAxis()),
        axisRange(QStringLiteral("右軸"), *plot.RightAxis()),
        QStringLiteral("点の数 %1").arg(plot.pointCount()) }
        .join(QStringLiteral("、"));
}

void installXYPlotAccessibility()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(plotFactory);
}
