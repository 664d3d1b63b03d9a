#pragma once

#include <QComboBox>
#include <QPixmap>

// A combo box listing the installed font families, each with a glyph for its
// kind and, with UseFonts, drawn in its own typeface. Picking a family, typing
// a listed family's full name (any letter case) or setting FontName raises
// changed(); a partial name raises nothing.
class TFontComboBox : public QComboBox
{
    Q_OBJECT
    Q_PROPERTY(QString FontName READ FontName WRITE setFontName)
    Q_PROPERTY(bool UseFonts READ UseFonts WRITE setUseFonts)
    Q_PROPERTY(bool TrueTypeOnly READ TrueTypeOnly WRITE setTrueTypeOnly)
public:
    enum TFontDevice { fdScreen, fdPrinter, fdBoth };
    enum TFontListOption {
        foAnsiOnly = 0x01,
        foTrueTypeOnly = 0x02,
        foFixedPitchOnly = 0x04,
        foNoOEMFonts = 0x08,
        foOEMFontsOnly = 0x10,
        foScalableOnly = 0x20,
        foNoSymbolFonts = 0x40,
    };
    Q_DECLARE_FLAGS(TFontListOptions, TFontListOption)
    enum TComboStyle { csDropDown, csDropDownList };

    // The item tag: the kind bits of the family, plus NonSymbol unless it is a symbol font.
    static constexpr int RasterFontType = 1;
    static constexpr int DeviceFontType = 2;
    static constexpr int TrueTypeFontType = 4;
    static constexpr int NonSymbol = 0x100;
    static constexpr int TagRole = Qt::UserRole;

    // When the list of families is filled: at once, or only after the box's
    // first paint (or when first needed, if that comes sooner), so that a
    // window comes up without waiting for the fonts. A text given meanwhile
    // stays as it was given, selecting nothing, as with a list filled at once.
    enum Listing { ListNow, ListAfterFirstPaint };

    // Raises VemiError when a glyph picture is missing.
    explicit TFontComboBox(QWidget *parent = nullptr);
    TFontComboBox(QWidget *parent, Listing listing);
    // How boxes created without saying list their families (ListNow at first).
    static void setDefaultListing(Listing listing);

    QString FontName() const { return currentText(); }
    TFontDevice Device() const { return m_device; }
    TFontListOptions Options() const { return m_options; }
    bool TrueTypeOnly() const { return m_options.testFlag(foTrueTypeOnly); }
    bool UseFonts() const { return m_useFonts; }
    TComboStyle Style() const { return isEditable() ? csDropDown : csDropDownList; }
    int tagOf(int index) const { return itemData(index, TagRole).toInt(); }
    // The height of every item in the list.
    int itemHeight() const;
    const QPixmap &trueTypeGlyph() const { return m_trueTypeGlyph; }
    const QPixmap &deviceGlyph() const { return m_deviceGlyph; }
    bool isListed() const { return m_listed; }
    // Fills a list left for later; does nothing once it is filled.
    void listFamilies();

    void setFontName(const QString &name);
    void setDevice(TFontDevice device);
    void setOptions(TFontListOptions options);
    void setTrueTypeOnly(bool on);
    void setUseFonts(bool on);
    void setStyle(TComboStyle style);

    // A family as Qt names it, less the foundry that Qt appends when several
    // foundries offer it ("C059 [urw]" is C059).
    static QString familyName(const QString &qtFamily);

    // Draws a font name that this machine lacks (one that settings files
    // store) with the first installed of the substitutes, and lists the name
    // as it is spelt here.
    static void substitute(const QString &name, const QStringList &substitutes);

    void showPopup() override;

signals:
    void changed();

protected:
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void rebuild();
    void fillItems();
    void Change();
    int indexOfName(const QString &name) const;
    void selectQuietly(const QString &name);
    void textEdited(const QString &text);

    TFontDevice m_device = fdScreen;
    TFontListOptions m_options;
    bool m_useFonts = false;
    bool m_populating = false;
    bool m_editedAway = false; // the typed text left the selected item
    bool m_listed = false;
    bool m_fillQueued = false;
    QPixmap m_trueTypeGlyph;
    QPixmap m_deviceGlyph;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TFontComboBox::TFontListOptions)
