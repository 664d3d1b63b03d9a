#pragma once

#include "controls/color/ColorPalette.h"
#include "core/settings/ColorNames.h"

#include <QString>
#include <QWidget>

class TColorPopup;

// A push button showing a colour swatch, with a drop-down part at its right end
// that opens a palette window (TColorPopup) to pick another colour from.
class TColorPickerButton : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(ColorValue SelectionColor READ selectionColor WRITE setSelectionColor NOTIFY changed)
    Q_PROPERTY(QString CustomText READ customText WRITE setCustomText)
    Q_PROPERTY(QString DefaultText READ defaultText WRITE setDefaultText)
    Q_PROPERTY(int PopupSpacing READ popupSpacing WRITE setPopupSpacing)
    Q_PROPERTY(bool ShowSystemColors READ showSystemColors WRITE setShowSystemColors)
    Q_PROPERTY(int DropDownWidth READ dropDownWidth WRITE setDropDownWidth)
    Q_PROPERTY(ColorValue DropDownArrowColor READ dropDownArrowColor WRITE setDropDownArrowColor)
    Q_PROPERTY(TIndicatorBorder IndicatorBorder READ indicatorBorder WRITE setIndicatorBorder)
    Q_PROPERTY(bool DroppedDown READ isDroppedDown)

public:
    enum TIndicatorBorder { ibNone, ibFlat, ibSunken, ibRaised };
    Q_ENUM(TIndicatorBorder)

    // Chosen from the palette's default entry; matching it selects that entry.
    static constexpr ColorValue DefaultColor = ColorPalette::DefaultColor;

    explicit TColorPickerButton(QWidget *parent = nullptr);
    ~TColorPickerButton() override;

    ColorValue selectionColor() const { return m_selectionColor; }
    QString customText() const { return m_customText; }
    QString defaultText() const { return m_defaultText; }
    int popupSpacing() const { return m_popupSpacing; }
    bool showSystemColors() const { return m_showSystemColors; }
    int dropDownWidth() const { return m_dropDownWidth; }
    ColorValue dropDownArrowColor() const { return m_dropDownArrowColor; }
    TIndicatorBorder indicatorBorder() const { return m_indicatorBorder; }
    bool isDroppedDown() const { return m_droppedDown; }
    bool isDown() const { return m_down; }

    // The palette window, owned by the button and kept while it lives.
    TColorPopup *popup() const { return m_popup; }

    QSize sizeHint() const override;

    void setSelectionColor(ColorValue color);
    void setCustomText(const QString &text);
    void setDefaultText(const QString &text);
    void setPopupSpacing(int pixels); // below 0 counts as 0
    void setShowSystemColors(bool show);
    void setDropDownWidth(int pixels);
    void setDropDownArrowColor(ColorValue color);
    void setIndicatorBorder(TIndicatorBorder border);

    // Open or close the palette as the drop-down part does; opening may be vetoed.
    void dropDown();
    void closeUp();

signals:
    void changed(); // after SelectionColor changed, by the program or the user
    void clicked(); // a click on the main part (not the drop-down part)
    void defaultSelected();
    void dropChanging(bool *allow); // set *allow to false to keep the palette as it is
    void dropChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void popupHidden(); // the palette went away, however it was closed
    void updatePopupEntries();
    bool inDropDownPart(int x) const;
    void setDown(bool down);
    void notifyAccessibleValue();

    void drawFace(QPainter &painter) const;
    void drawSwatch(QPainter &painter, const QRect &content) const;
    void drawArrow(QPainter &painter, bool shifted) const;

    ColorValue m_selectionColor = 0;
    QString m_customText;
    QString m_defaultText;
    int m_popupSpacing = 8;
    bool m_showSystemColors = false;
    int m_dropDownWidth = 15;
    ColorValue m_dropDownArrowColor = 0;
    TIndicatorBorder m_indicatorBorder = ibFlat;

    bool m_droppedDown = false;
    bool m_down = false;
    bool m_dropDownPressed = false; // the last press began in the drop-down part
    bool m_tracking = false; // a press of the main part is being followed
    TColorPopup *m_popup = nullptr;
};
