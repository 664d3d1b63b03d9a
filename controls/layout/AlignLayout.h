#pragma once

#include <QLayout>
#include <QList>

// Edge alignment of a child control, as the splitter and the panes use it.
enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

TAlign alignOf(const QWidget *widget);
void setAlignOf(QWidget *widget, TAlign align);

// Lays children out against the edges in alignment order (top, bottom, left,
// right, then client), each in the order it was added. Edge-aligned children
// keep their own width (left, right) or height (top, bottom), so a control
// resized by a splitter stays at that size; the client child takes the rest.
class AlignLayout : public QLayout
{
public:
    explicit AlignLayout(QWidget *parent = nullptr);
    ~AlignLayout() override;

    void addItem(QLayoutItem *item) override;
    QLayoutItem *itemAt(int index) const override;
    QLayoutItem *takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect &rect) override;

private:
    QList<QLayoutItem *> m_items;
};
