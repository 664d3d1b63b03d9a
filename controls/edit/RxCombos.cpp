#include "controls/edit/RxCombos.h"

#include "core/Errors.h"
#include "resources/FontGlyphs.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpression>

namespace {
constexpr int MinimumItemHeight = 9;
constexpr int NoGlyphWidth = 20;
constexpr int GlyphGap = 6;

// Qt keeps substitution names in lower case; the list shows them as given.
QStringList &substitutedNames()
{
    static QStringList names;
    return names;
}

struct Family
{
    QString name;
    QString qtName; // with the foundry where Qt gives one
    int tag = 0;
    bool ansi = false;
    bool fixedPitch = false;
    bool symbol = false;
};

Family describe(const QString &qtName, const QString &name)
{
    const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(qtName);
    Family f { name, qtName };
    // Qt reports symbol fonts as Latin too; they carry the symbol set, not ANSI.
    f.symbol = systems.contains(QFontDatabase::Symbol);
    f.ansi = systems.contains(QFontDatabase::Latin) && !f.symbol;
    f.fixedPitch = QFontDatabase::isFixedPitch(qtName);
    const bool outline = QFontDatabase::isSmoothlyScalable(qtName);
    f.tag = (outline ? TFontComboBox::TrueTypeFontType : TFontComboBox::RasterFontType)
        | (f.symbol ? 0 : TFontComboBox::NonSymbol);
    return f;
}

// Every family once; names that settings files use for fonts this machine
// lacks (registered substitutions) are listed as the font they draw with.
QList<Family> installedFamilies()
{
    QList<Family> result;
    const QStringList qtFamilies = QFontDatabase::families();
    for (const QString &qtName : qtFamilies)
        result.append(describe(qtName, TFontComboBox::familyName(qtName)));
    for (const QString &substituted : std::as_const(substitutedNames())) {
        for (const QString &substitute : QFont::substitutes(substituted)) {
            if (qtFamilies.contains(substitute, Qt::CaseInsensitive)) {
                result.append(describe(substitute, substituted));
                break;
            }
        }
    }
    return result;
}

bool passes(const Family &f, TFontComboBox::TFontListOptions options)
{
    using C = TFontComboBox;
    // No font here carries the OEM character set.
    return !(options.testFlag(C::foAnsiOnly) && !f.ansi)
        && !(options.testFlag(C::foTrueTypeOnly) && !(f.tag & C::TrueTypeFontType))
        && !(options.testFlag(C::foFixedPitchOnly) && !f.fixedPitch)
        && !options.testFlag(C::foOEMFontsOnly)
        && !(options.testFlag(C::foNoSymbolFonts) && f.symbol)
        && !(options.testFlag(C::foScalableOnly) && (f.tag & C::RasterFontType));
}

class FontItemDelegate final : public QAbstractItemDelegate
{
public:
    explicit FontItemDelegate(TFontComboBox *box)
        : QAbstractItemDelegate(box)
        , m_box(box)
    { }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override
    {
        QRect r = option.rect;
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(r, option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
        const int tag = index.data(TFontComboBox::TagRole).toInt();
        const QPixmap *glyph = tag & TFontComboBox::TrueTypeFontType ? &m_box->trueTypeGlyph()
            : tag & TFontComboBox::DeviceFontType                    ? &m_box->deviceGlyph()
                                                                     : nullptr;
        if (glyph)
            painter->drawPixmap(
                r.left() + 2, (r.top() + r.top() + r.height() - glyph->height()) / 2, *glyph);
        r.setLeft(r.left() + (glyph ? glyph->width() : NoGlyphWidth) + GlyphGap);
        const QString name = index.data(Qt::DisplayRole).toString();
        QFont font = m_box->font();
        if (m_box->UseFonts() && (tag & TFontComboBox::NonSymbol))
            font.setFamily(name);
        painter->save();
        painter->setFont(font);
        painter->setPen(
            option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setLayoutDirection(option.direction);
        const Qt::Alignment align = QStyle::visualAlignment(option.direction, Qt::AlignLeft);
        painter->drawText(r, int(align | Qt::AlignVCenter | Qt::TextSingleLine), name);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const override
    {
        return { option.rect.width(), m_box->itemHeight() };
    }

private:
    TFontComboBox *m_box;
};

TFontComboBox::Listing &defaultListing()
{
    static TFontComboBox::Listing listing = TFontComboBox::ListNow;
    return listing;
}
} // namespace

TFontComboBox::TFontComboBox(QWidget *parent)
    : TFontComboBox(parent, defaultListing())
{ }

void TFontComboBox::setDefaultListing(Listing listing)
{
    defaultListing() = listing;
}

TFontComboBox::TFontComboBox(QWidget *parent, Listing listing)
    : QComboBox(parent)
    , m_trueTypeGlyph(FontGlyphs::glyph(QStringLiteral("TRUETYPE_FNT")))
    , m_deviceGlyph(FontGlyphs::glyph(QStringLiteral("DEVICE_FNT")))
{
    if (m_trueTypeGlyph.isNull() || m_deviceGlyph.isNull())
        throw VemiError(QStringLiteral("TRUETYPE_FNT / DEVICE_FNT"));
    setItemDelegate(new FontItemDelegate(this));
    setInsertPolicy(QComboBox::NoInsert);
    connect(this, &QComboBox::activated, this, &TFontComboBox::Change);
    connect(qGuiApp, &QGuiApplication::fontDatabaseChanged, this, [this] {
        if (m_listed)
            rebuild();
    });
    if (listing == ListNow)
        rebuild();
}

QString TFontComboBox::familyName(const QString &qtFamily)
{
    static const QRegularExpression foundry(QStringLiteral("\\s*\\[[^\\]]*\\]$"));
    return QString(qtFamily).remove(foundry);
}

void TFontComboBox::substitute(const QString &name, const QStringList &substitutes)
{
    QFont::insertSubstitutions(name, substitutes);
    if (!substitutedNames().contains(name))
        substitutedNames().append(name);
}

int TFontComboBox::itemHeight() const
{
    return std::max(
        { fontMetrics().height() + 1, MinimumItemHeight, m_trueTypeGlyph.height() - 1 });
}

void TFontComboBox::rebuild()
{
    const QString remembered = FontName();
    m_populating = true;
    fillItems();
    m_populating = false;
    selectQuietly(remembered);
    if (currentText() != remembered)
        Change();
}

void TFontComboBox::fillItems()
{
    QList<Family> families = installedFamilies();
    std::stable_sort(families.begin(), families.end(), [](const Family &a, const Family &b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    {
        const QSignalBlocker blocker(this);
        clear();
        QString last;
        for (const Family &f : std::as_const(families)) {
            if (!passes(f, m_options) || f.name.compare(last, Qt::CaseInsensitive) == 0)
                continue;
            addItem(f.name, f.tag);
            last = f.name;
        }
    }
    m_listed = true;
}

// The text stays exactly as it was, selecting nothing, so the box is in the
// state a list filled at creation would have left it in.
void TFontComboBox::listFamilies()
{
    if (m_listed)
        return;
    const QString text = currentText();
    const int cursor = lineEdit() ? lineEdit()->cursorPosition() : 0;
    m_populating = true;
    fillItems();
    m_populating = false;
    const QSignalBlocker blocker(this);
    setCurrentIndex(-1);
    if (QLineEdit *edit = lineEdit()) {
        setEditText(text);
        edit->setCursorPosition(cursor);
    }
}

void TFontComboBox::paintEvent(QPaintEvent *event)
{
    QComboBox::paintEvent(event);
    if (m_listed || m_fillQueued)
        return;
    m_fillQueued = true; // once the window is on the screen
    QMetaObject::invokeMethod(this, &TFontComboBox::listFamilies, Qt::QueuedConnection);
}

void TFontComboBox::keyPressEvent(QKeyEvent *event)
{
    listFamilies(); // the arrow keys step through the list
    QComboBox::keyPressEvent(event);
}

void TFontComboBox::wheelEvent(QWheelEvent *event)
{
    listFamilies();
    QComboBox::wheelEvent(event);
}

int TFontComboBox::indexOfName(const QString &name) const
{
    for (int i = 0; i < count(); ++i) {
        if (itemText(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void TFontComboBox::selectQuietly(const QString &name)
{
    const QSignalBlocker blocker(this);
    const int index = indexOfName(name);
    setCurrentIndex(index);
    if (index < 0 && isEditable())
        setEditText(name);
    m_editedAway = false;
}

void TFontComboBox::setFontName(const QString &name)
{
    if (name == currentText())
        return;
    listFamilies();
    selectQuietly(name);
    Change();
}

// A text written straight into the box (as start-up does) selects nothing;
// the opened list still marks the family it names, without picking it.
void TFontComboBox::showPopup()
{
    listFamilies();
    QComboBox::showPopup();
    const int index = indexOfName(currentText());
    if (index >= 0 && index != currentIndex())
        view()->setCurrentIndex(model()->index(index, modelColumn()));
}

void TFontComboBox::Change()
{
    if (!m_populating)
        emit changed();
}

// Only a typed full name of a listed family counts; what is typed is never
// completed or added to the list.
void TFontComboBox::textEdited(const QString &text)
{
    listFamilies();
    const int index = indexOfName(text);
    if (index < 0) {
        m_editedAway = true;
        return;
    }
    if (index == currentIndex() && !m_editedAway)
        return;
    const int cursor = lineEdit()->cursorPosition();
    selectQuietly(itemText(index));
    lineEdit()->setCursorPosition(cursor);
    Change();
}

void TFontComboBox::setDevice(TFontDevice device)
{
    if (device == m_device)
        return;
    m_device = device; // the printer prints with the screen's fonts here
    rebuild();
}

void TFontComboBox::setOptions(TFontListOptions options)
{
    if (options == m_options)
        return;
    m_options = options;
    rebuild();
}

void TFontComboBox::setTrueTypeOnly(bool on)
{
    setOptions(on ? m_options | foTrueTypeOnly : m_options & ~TFontListOptions(foTrueTypeOnly));
}

void TFontComboBox::setUseFonts(bool on)
{
    if (on == m_useFonts)
        return;
    m_useFonts = on;
    view()->viewport()->update();
}

void TFontComboBox::setStyle(TComboStyle style)
{
    const QString name = FontName();
    setEditable(style == csDropDown);
    if (QLineEdit *edit = lineEdit()) {
        edit->setCompleter(nullptr);
        connect(
            edit, &QLineEdit::textEdited, this, &TFontComboBox::textEdited, Qt::UniqueConnection);
    }
    selectQuietly(name);
}

void TFontComboBox::changeEvent(QEvent *event)
{
    QComboBox::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        view()->reset(); // items take the new height
}
