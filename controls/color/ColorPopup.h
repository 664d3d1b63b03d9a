#pragma once

#include "controls/color/ColorPalette.h"

#include <QList>
#include <QWidget>

// The palette window of a colour picker button: 40 named colours, optionally
// the system colours, and a custom entry that unfolds a colour comb, a grey
// comb and an intensity slider. Placed at the widget it drops down from, which
// owns it; it hides itself when closed and says what was chosen by signals.
class TColorPopup : public QWidget
{
    Q_OBJECT

public:
    enum DragMode { NoDrag, CombDrag, GreyDrag, SliderDrag };

    // What the palette offers besides its cells; captions may carry an & accelerator.
    struct Entries
    {
        QString customText;
        QString defaultText;
        int spacing = 8;
        bool showSystemColors = false;
    };

    explicit TColorPopup(QWidget *anchor);
    ~TColorPopup() override;

    const ColorPalette::Layout &paletteLayout() const { return m_layout; }
    int selectedIndex() const { return m_selected; }
    int hoverIndex() const { return m_hover; }
    double intensity() const { return m_intensity; }
    // 0 none, k > 0 colour comb cell k - 1, k < 0 grey comb cell -k - 1.
    int markedCell() const { return m_marked; }
    bool isCustomMode() const { return m_selected == ColorPalette::CustomEntry; }
    const QList<ColorPalette::CombCell> &combCells();
    const QList<ColorPalette::CombCell> &greyCells();
    ColorValue markedColor();
    // What an entry is called: its hint text, as a screen reader should say it.
    QString entryName(int index) const;

    // Select the entry showing this colour (or nothing) the way the palette opens.
    void matchColor(ColorValue color);
    const Entries &entries() const { return m_entries; }
    void setEntries(const Entries &entries);
    // Place below the anchor (or above when the screen ends) and show.
    void showBelow();
    void setIntensity(double intensity);

signals:
    void picked(ColorValue color); // a cell or comb colour, after the palette closed
    void defaultPicked(); // the default entry, after the palette closed
    void closed(); // hidden, however that came about

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void recomputeLayout();
    void place();
    void fitHeight();
    void setHover(int index);
    void select(int index);
    void pickEntry(int index);
    void pickColor(ColorValue color);
    int markAt(QPoint point) const;
    bool customAreaPress(QPoint point, bool starting);
    ColorValue cellColor(int index) const;
    int matchIndex(ColorValue color);
    bool acceleratorPressed(const QKeyEvent *event);

    void drawCell(QPainter &painter, int index) const;
    void drawEntry(QPainter &painter, const QRect &rect, int index, const QString &text) const;
    void drawEntryFrame(QPainter &painter, const QRect &rect, int index) const;
    void drawCustomSample(QPainter &painter);
    void drawCustomArea(QPainter &painter);
    void drawSlider(QPainter &painter) const;
    void drawMark(QPainter &painter);

    QWidget *m_anchor;
    Entries m_entries;
    ColorPalette::Layout m_layout;
    int m_selected = ColorPalette::NoEntry;
    int m_hover = ColorPalette::NoEntry;
    bool m_leftDown = false;
    double m_intensity = 1.0;
    QList<ColorPalette::CombCell> m_comb;
    QList<ColorPalette::CombCell> m_grey;
    int m_marked = 0;
    DragMode m_drag = NoDrag;
};
