#pragma once

#include "controls/layout/AlignLayout.h"

#include <QFrame>
#include <QPointer>

class QKeyEvent;

// A thin bar between two aligned controls; dragging it resizes one of them.
// While dragging, a line shows where the bar would go; the resize happens on
// release, and Esc (or losing the mouse) cancels.
class TRxSplitter : public QFrame
{
    Q_OBJECT
    Q_PROPERTY(int TopLeftLimit READ TopLeftLimit WRITE setTopLeftLimit)
    Q_PROPERTY(int BottomRightLimit READ BottomRightLimit WRITE setBottomRightLimit)
public:
    // What a drag changes, from the alignments of the two controls.
    enum Kind { NoKind = 0, FirstHeight = 1, SecondHeight = 2, FirstWidth = 3, SecondWidth = 4 };

    explicit TRxSplitter(QWidget *parent = nullptr);
    ~TRxSplitter() override;

    QWidget *ControlFirst() const { return m_first; }
    QWidget *ControlSecond() const { return m_second; }
    TAlign Align() const { return alignOf(this); }
    int TopLeftLimit() const { return m_topLeftLimit; }
    int BottomRightLimit() const { return m_bottomRightLimit; }
    Kind kind() const;
    bool isDragging() const { return m_dragging; }
    // Where the drag line is, in the window's coordinates; empty when not dragging.
    QRect dragLineGeometry() const;

    void setControlFirst(QWidget *control);
    void setControlSecond(QWidget *control);
    void setAlign(TAlign align);
    void setTopLeftLimit(int limit) { m_topLeftLimit = limit; }
    void setBottomRightLimit(int limit) { m_bottomRightLimit = limit; }
    // The older single limit sets both.
    void setLimitOffset(int limit);

signals:
    // Asked before each move and before the final resize; clear *allow to refuse.
    void OnPosChanging(TRxSplitter *sender, int x, int y, bool *allow);
    void OnPosChanged(TRxSplitter *sender);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool movesHorizontally() const;
    bool askPosChanging(QPoint at);
    QPoint clamped(QPoint at) const;
    void updateCursor();
    void showLimitCursor(bool reached);
    void moveDragLine(QPoint splitterPoint);
    void resizeControl(QPoint at);
    void endDrag();
    void cancelDrag();
    QWidget *acceptable(QWidget *control) const;

    QPointer<QWidget> m_first;
    QPointer<QWidget> m_second;
    int m_topLeftLimit = 20;
    int m_bottomRightLimit = 20;

    bool m_dragging = false;
    QPoint m_pressPoint;
    QPoint m_minimum; // drag limits, in the splitter's coordinates
    QPoint m_maximum;
    QPoint m_lastLine; // splitter coordinates of the drawn line's centre point
    bool m_limitReached = false;
    QWidget *m_line = nullptr;
    QMetaObject::Connection m_focusWatch;
};
