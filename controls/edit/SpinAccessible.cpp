#include "controls/edit/SpinAccessible.h"

#include "controls/edit/Spin.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

#include <climits>

namespace {

class SpinEditAccessible final : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit SpinEditAccessible(TSpinEdit *edit)
        : QAccessibleWidget(edit, QAccessible::SpinBox)
    { }

    TSpinEdit *edit() const { return static_cast<TSpinEdit *>(widget()); }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return edit()->text();
        return QAccessibleWidget::text(t);
    }

    QVariant currentValue() const override { return edit()->value(); }
    void setCurrentValue(const QVariant &value) override { edit()->setValue(value.toInt()); }
    QVariant minimumValue() const override
    {
        return unlimited() ? INT_MIN : qMin(edit()->minValue(), edit()->maxValue());
    }
    QVariant maximumValue() const override
    {
        return unlimited() ? INT_MAX : qMax(edit()->minValue(), edit()->maxValue());
    }
    QVariant minimumStepSize() const override { return edit()->increment(); }

private:
    bool unlimited() const { return edit()->minValue() == edit()->maxValue(); }
};

QAccessibleInterface *spinEditFactory(const QString &className, QObject *object)
{
    if (className != QLatin1String("TSpinEdit"))
        return nullptr;
    auto *edit = qobject_cast<TSpinEdit *>(object);
    return edit ? new SpinEditAccessible(edit) : nullptr;
}

} // namespace

namespace SpinAccessible {

void install()
{
    static const bool installed = [] {
        QAccessible::installFactory(spinEditFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void notifyValueChanged(TSpinEdit *edit)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleValueChangeEvent event(edit, edit->value());
    QAccessible::updateAccessibility(&event);
}

} // namespace SpinAccessible
