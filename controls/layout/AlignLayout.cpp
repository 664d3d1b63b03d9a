#include "controls/layout/AlignLayout.h"

#include <QVariant>
#include <QWidget>

namespace {
constexpr char AlignProperty[] = "vemiAlign";
constexpr TAlign PlacingOrder[]
    = { TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient };
} // namespace

TAlign alignOf(const QWidget *widget)
{
    if (!widget)
        return TAlign::alNone;
    return static_cast<TAlign>(widget->property(AlignProperty).toInt());
}

void setAlignOf(QWidget *widget, TAlign align)
{
    widget->setProperty(AlignProperty, static_cast<int>(align));
    if (widget->parentWidget() && widget->parentWidget()->layout())
        widget->parentWidget()->layout()->invalidate();
}

AlignLayout::AlignLayout(QWidget *parent)
    : QLayout(parent)
{
    setContentsMargins(0, 0, 0, 0);
    setSpacing(0);
}

AlignLayout::~AlignLayout()
{
    qDeleteAll(m_items);
}

void AlignLayout::addItem(QLayoutItem *item)
{
    m_items.append(item);
}

QLayoutItem *AlignLayout::itemAt(int index) const
{
    return m_items.value(index);
}

QLayoutItem *AlignLayout::takeAt(int index)
{
    return index >= 0 && index < m_items.size() ? m_items.takeAt(index) : nullptr;
}

int AlignLayout::count() const
{
    return int(m_items.size());
}

QSize AlignLayout::sizeHint() const
{
    return { 100, 100 };
}

QSize AlignLayout::minimumSize() const
{
    return { 0, 0 };
}

void AlignLayout::setGeometry(const QRect &rect)
{
    QLayout::setGeometry(rect);
    QRect room = contentsRect();
    for (TAlign align : PlacingOrder) {
        for (QLayoutItem *item : std::as_const(m_items)) {
            QWidget *w = item->widget();
            if (!w || w->isHidden() || alignOf(w) != align)
                continue;
            switch (align) {
            case TAlign::alTop:
                w->setGeometry(room.left(), room.top(), room.width(), w->height());
                room.setTop(room.top() + w->height());
                break;
            case TAlign::alBottom:
                w->setGeometry(
                    room.left(), room.bottom() + 1 - w->height(), room.width(), w->height());
                room.setBottom(room.bottom() - w->height());
                break;
            case TAlign::alLeft:
                w->setGeometry(room.left(), room.top(), w->width(), room.height());
                room.setLeft(room.left() + w->width());
                break;
            case TAlign::alRight:
                w->setGeometry(
                    room.right() + 1 - w->width(), room.top(), w->width(), room.height());
                room.setRight(room.right() - w->width());
                break;
            default:
                w->setGeometry(
                    room.left(), room.top(), std::max(0, room.width()), std::max(0, room.height()));
                break;
            }
        }
    }
}
