#include "controls/layout/RXSplitAccessible.h"

#include "controls/layout/RXSplit.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace {

class SplitterAccessible final : public QAccessibleWidget
{
public:
    explicit SplitterAccessible(TRxSplitter *splitter)
        : QAccessibleWidget(splitter, QAccessible::Splitter)
    { }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return controlSize();
        return QAccessibleWidget::text(t);
    }

private:
    QString controlSize() const
    {
        const auto *splitter = static_cast<const TRxSplitter *>(widget());
        const QWidget *first = splitter->ControlFirst();
        if (!first)
            return QString();
        const bool widths = splitter->kind() == TRxSplitter::FirstWidth
            || splitter->kind() == TRxSplitter::SecondWidth;
        return QString::number(widths ? first->width() : first->height());
    }
};

QAccessibleInterface *splitterFactory(const QString &className, QObject *object)
{
    if (className != QLatin1String("TRxSplitter"))
        return nullptr;
    auto *splitter = qobject_cast<TRxSplitter *>(object);
    return splitter ? new SplitterAccessible(splitter) : nullptr;
}

} // namespace

namespace RXSplitAccessible {

void install()
{
    static const bool installed = [] {
        QAccessible::installFactory(splitterFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace RXSplitAccessible
