#pragma once

#include <QAbstractButton>
#include <QImage>
#include <QLineEdit>

// An arrow button that repeats while held: the first repeat 400 ms after the
// press, then one every 100 ms; the release over it is the ordinary click.
class TTimerSpeedButton : public QAbstractButton
{
    Q_OBJECT
public:
    static constexpr int RepeatDelay = 400; // ms
    static constexpr int RepeatInterval = 100; // ms

    explicit TTimerSpeedButton(QWidget *parent = nullptr);

    void setGlyph(const QImage &glyph);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_glyph;
};

// The pair of arrow buttons at a spin edit's right end.
class TSpinButton : public QWidget
{
    Q_OBJECT
public:
    static constexpr int DefaultWidth = 15;
    static constexpr int DefaultHeight = 17;

    explicit TSpinButton(QWidget *parent = nullptr);

    TTimerSpeedButton *upButton() const { return m_up; }
    TTimerSpeedButton *downButton() const { return m_down; }

    // The arrow glyphs "SpinUp" and "SpinDown", 9 by 6 pixels, drawn once.
    static const QImage &upGlyph();
    static const QImage &downGlyph();

signals:
    void upClick();
    void downClick();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    TTimerSpeedButton *m_up = nullptr;
    TTimerSpeedButton *m_down = nullptr;
};

// A numeric edit with up and down arrows. Equal limits mean no limits.
class TSpinEdit : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(int Value READ value WRITE setValue)
    Q_PROPERTY(int MinValue READ minValue WRITE setMinValue)
    Q_PROPERTY(int MaxValue READ maxValue WRITE setMaxValue)
    Q_PROPERTY(int Increment READ increment WRITE setIncrement)
    Q_PROPERTY(bool EditorEnabled READ editorEnabled WRITE setEditorEnabled)
    Q_PROPERTY(bool ReadOnly READ isLocked WRITE setLocked)

public:
    explicit TSpinEdit(QWidget *parent = nullptr);

    // The text as an integer; MinValue when it is not one.
    int value() const;
    int minValue() const { return m_minValue; }
    int maxValue() const { return m_maxValue; }
    int increment() const { return m_increment; }
    bool editorEnabled() const { return m_editorEnabled; }
    // ReadOnly: the arrows only beep (QLineEdit's own flag covers typing only).
    bool isLocked() const { return m_locked; }
    TSpinButton *spinButton() const { return m_button; }

    // Stores the value clamped to the limits and shows it.
    void setValue(int value);
    // The limits apply from the next step; the shown value is not re-clamped.
    void setMinValue(int value);
    void setMaxValue(int value);
    void setIncrement(int step) { m_increment = step; }
    void setEditorEnabled(bool on);
    void setLocked(bool on);

    // The value clamped to the limits, or unchanged when the limits are equal.
    int checkValue(int value) const;

    QSize minimumSizeHint() const override;

signals:
    // OnChange: the text changed.
    void changed();

public slots:
    void UpClick();
    void DownClick();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void step(int delta);
    bool refuses(QKeyEvent *event) const;
    void updateEditable();
    void layoutButton();

    TSpinButton *m_button = nullptr;
    int m_minValue = 0;
    int m_maxValue = 0;
    int m_increment = 1;
    bool m_editorEnabled = true;
    bool m_locked = false;
};
