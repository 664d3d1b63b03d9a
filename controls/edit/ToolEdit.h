#pragma once

#include <QAbstractButton>
#include <QImage>
#include <QKeySequence>
#include <QLineEdit>

class Dialogs;

// The small button that sits inside a combo edit's right end.
class TComboEditButton : public QAbstractButton
{
    Q_OBJECT
public:
    explicit TComboEditButton(QWidget *parent = nullptr);

    void setGlyph(const QImage &glyph);
    QImage glyph() const { return m_glyph; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void drawRaisedEdges(QPainter &painter) const;
    void drawSunkenEdges(QPainter &painter) const;

    QImage m_glyph;
};

// A one-line edit hosting a button at its right end; the text never runs under
// the button, and ClickKey presses it from the keyboard.
class TCustomComboEdit : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(int ButtonWidth READ buttonWidth WRITE setButtonWidth)
    Q_PROPERTY(QKeySequence ClickKey READ clickKey WRITE setClickKey)
    Q_PROPERTY(bool DirectInput READ directInput WRITE setDirectInput)
    Q_PROPERTY(bool ReadOnly READ isLocked WRITE setLocked)

public:
    static constexpr int DefaultButtonWidth = 21;
    static constexpr int DefaultHeight = 21;

    explicit TCustomComboEdit(QWidget *parent = nullptr);

    int buttonWidth() const { return m_buttonWidth; }
    QKeySequence clickKey() const { return m_clickKey; }
    bool directInput() const { return m_directInput; }
    // ReadOnly: neither typing nor the button work (QLineEdit's own flag covers typing only).
    bool isLocked() const { return m_locked; }
    TComboEditButton *button() const { return m_button; }
    bool buttonShown() const { return m_buttonWidth > 1; }

    // Values of 1 or less hide the button.
    void setButtonWidth(int pixels);
    void setClickKey(const QKeySequence &key) { m_clickKey = key; }
    void setDirectInput(bool on);
    void setLocked(bool on);

    QSize minimumSizeHint() const override;

protected:
    // What the button does; nothing in the base.
    virtual void ButtonClick() { }

    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void updateEditable();
    void layoutButton();

    TComboEditButton *m_button = nullptr;
    int m_buttonWidth = DefaultButtonWidth;
    QKeySequence m_clickKey { Qt::ALT | Qt::Key_Down };
    bool m_directInput = true;
    bool m_locked = false;
};

// A combo edit for a file name: the button browses for a file through the
// program's open-file dialog and writes the picked path into the text.
class TFilenameEdit : public TCustomComboEdit
{
    Q_OBJECT
    Q_PROPERTY(QString FileName READ fileName)
    Q_PROPERTY(QString Filter READ filter WRITE setFilter)
    Q_PROPERTY(int FilterIndex READ filterIndex WRITE setFilterIndex)
    Q_PROPERTY(QString DialogTitle READ dialogTitle WRITE setDialogTitle)
    Q_PROPERTY(QString InitialDir READ initialDir WRITE setInitialDir)

public:
    enum TFileDialogKind { dkOpen, dkSave, dkOpenPicture, dkSavePicture };
    Q_ENUM(TFileDialogKind)

    explicit TFilenameEdit(Dialogs &dialogs, QWidget *parent = nullptr);

    // The text with quoting removed: the text itself when it names an existing
    // file, else its first blank-separated argument (double quotes group).
    QString fileName() const;
    // The text itself when it names an existing file, else the text without blanks
    // around it and without one enclosing pair of double quotes; blanks inside are kept.
    QString unquotedText() const;
    QString filter() const { return m_filter; }
    int filterIndex() const { return m_filterIndex; }
    QString dialogTitle() const { return m_dialogTitle; }
    QString initialDir() const { return m_initialDir; }
    TFileDialogKind dialogKind() const { return dkOpen; } // the only kind the program needs

    void setFilter(const QString &filter) { m_filter = filter; }
    void setFilterIndex(int index) { m_filterIndex = index; }
    void setDialogTitle(const QString &title);
    void setInitialDir(const QString &folder) { m_initialDir = folder; }

    // The browse step; the button and ClickKey run it.
    void browse() { ButtonClick(); }

    // The built-in browse glyph "FEDITBMP", 14 by 12 pixels, drawn once.
    static const QImage &defaultGlyph();
    // How the browse step writes a path: in double quotes when it holds a blank.
    static QString quotedPath(const QString &path);
    // The first argument of a command line: blanks separate, double quotes group.
    static QString firstArgument(const QString &commandLine);
    static bool isValidFileName(const QString &name);
    // Why the settings file cannot hold this path so that it reads back the same
    // (the first character code page 932 lacks, a line break, more than 2047
    // bytes), or empty when it can.
    static QString unholdablePathMessage(const QString &path);

protected:
    void ButtonClick() override;

private:
    void prepareDialogName();

    Dialogs &m_dialogs;
    QString m_filter = QStringLiteral("All files (*.*)|*.*");
    int m_filterIndex = 1;
    QString m_dialogTitle = QStringLiteral("Browse");
    QString m_initialDir;
    QString m_dialogFileName; // what the dialog preselects; kept between browses
};
