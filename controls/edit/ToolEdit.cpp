#include "controls/edit/ToolEdit.h"

#include "core/text/Cp932.h"
#include "core/text/TextFile.h"
#include "platform/Dialogs.h"
#include "platform/ErrorReport.h"

#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>

namespace {

// The line edit's sunken frame, on each side.
constexpr int FrameWidth = 2;
// Kept clear between the text and the button.
constexpr int TextGap = 2;

QImage glyphFromRows(const char *const rows[], int height, const QHash<char, QRgb> &colors)
{
    const int width = int(qstrlen(rows[0]));
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            if (colors.contains(rows[y][x]))
                image.setPixel(x, y, colors.value(rows[y][x]));
    }
    return image;
}

// The folder part of a path with its trailing separator, as the path gives it.
QString folderPart(const QString &path)
{
    return path.left(path.lastIndexOf(u'/') + 1);
}

} // namespace

TComboEditButton::TComboEditButton(QWidget *parent)
    : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
}

void TComboEditButton::setGlyph(const QImage &glyph)
{
    m_glyph = glyph;
    update();
}

void TComboEditButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    const bool down = isDown();
    down ? drawSunkenEdges(painter) : drawRaisedEdges(painter);
    if (m_glyph.isNull())
        return;
    QPoint at((width() - m_glyph.width()) / 2, (height() - m_glyph.height()) / 2);
    if (down)
        at += QPoint(1, 1);
    if (!isEnabled())
        painter.setOpacity(0.4);
    painter.drawImage(at, m_glyph);
}

void TComboEditButton::drawRaisedEdges(QPainter &painter) const
{
    const int right = width() - 1;
    const int bottom = height() - 1;
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(0, 0, right - 1, 0);
    painter.drawLine(0, 0, 0, bottom - 1);
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawLine(0, bottom, right, bottom);
    painter.drawLine(right, 0, right, bottom);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(1, bottom - 1, right - 1, bottom - 1);
    painter.drawLine(right - 1, 1, right - 1, bottom - 1);
    // Separates the button from the text beside it.
    painter.setPen(palette().color(QPalette::Button));
    painter.drawLine(0, 0, 0, bottom);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(1, 1, 1, bottom - 2);
}

void TComboEditButton::drawSunkenEdges(QPainter &painter) const
{
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

TCustomComboEdit::TCustomComboEdit(QWidget *parent)
    : QLineEdit(parent)
    , m_button(new TComboEditButton(this))
{
    resize(width(), DefaultHeight);
    connect(m_button, &QAbstractButton::clicked, this, [this] {
        if (!m_locked)
            ButtonClick();
    });
    setMinimumHeight(minimumSizeHint().height());
    layoutButton();
}

void TCustomComboEdit::setButtonWidth(int pixels)
{
    if (pixels == m_buttonWidth)
        return;
    m_buttonWidth = pixels;
    layoutButton();
}

void TCustomComboEdit::setDirectInput(bool on)
{
    m_directInput = on;
    updateEditable();
}

void TCustomComboEdit::setLocked(bool on)
{
    m_locked = on;
    updateEditable();
}

void TCustomComboEdit::updateEditable()
{
    QLineEdit::setReadOnly(m_locked || !m_directInput);
}

QSize TCustomComboEdit::minimumSizeHint() const
{
    // The smaller text height of the edit's font and the system font, four border
    // widths and one pixel.
    const int textHeight
        = qMin(fontMetrics().height(), QFontMetrics(QApplication::font()).height());
    return QSize(QLineEdit::minimumSizeHint().width(), textHeight + 4 + 1);
}

void TCustomComboEdit::keyPressEvent(QKeyEvent *event)
{
    if (buttonShown() && !m_clickKey.isEmpty()
        && QKeySequence(event->keyCombination()) == m_clickKey) {
        event->accept();
        if (!m_locked)
            ButtonClick();
        return;
    }
    // Enter and Esc stay with the dialog's default and cancel buttons.
    QLineEdit::keyPressEvent(event);
}

void TCustomComboEdit::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    layoutButton();
}

void TCustomComboEdit::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        setMinimumHeight(minimumSizeHint().height());
}

void TCustomComboEdit::layoutButton()
{
    m_button->setVisible(buttonShown());
    const int shown = buttonShown() ? m_buttonWidth : 0;
    // Inside the sunken frame, full client height, at the right end.
    m_button->setGeometry(
        width() - FrameWidth - shown, FrameWidth, shown, height() - 2 * FrameWidth);
    setTextMargins(0, 0, shown > 0 ? shown + TextGap : 0, 0);
}

TFilenameEdit::TFilenameEdit(Dialogs &dialogs, QWidget *parent)
    : TCustomComboEdit(parent)
    , m_dialogs(dialogs)
{
    button()->setGlyph(defaultGlyph());
    button()->setAccessibleName(m_dialogTitle);
    setButtonWidth(qMax(buttonWidth(), defaultGlyph().width() + 6));
}

// The button says what it browses for to a screen reader.
void TFilenameEdit::setDialogTitle(const QString &title)
{
    m_dialogTitle = title;
    button()->setAccessibleName(title);
}

const QImage &TFilenameEdit::defaultGlyph()
{
    // An open folder in the sixteen classic colours.
    static const char *const rows[] = {
        "..............",
        "..............",
        ".###..........",
        "#YYY#######...",
        "#YYYYYYYYY#...",
        "#YY##########.",
        "#Y#OOOOOOOOOO#",
        "#Y#OOOOOOOOO#.",
        "##OOOOOOOOO#..",
        "##OOOOOOOOO#..",
        "###########...",
        "..............",
    };
    static const QImage glyph = glyphFromRows(rows, 12,
        { { '#', qRgb(0, 0, 0) }, { 'Y', qRgb(255, 255, 0) }, { 'O', qRgb(128, 128, 0) } });
    return glyph;
}

QString TFilenameEdit::quotedPath(const QString &path)
{
    if (!path.contains(u' ') || path.startsWith(u'"'))
        return path;
    return u'"' + path + u'"';
}

QString TFilenameEdit::firstArgument(const QString &commandLine)
{
    QString argument;
    qsizetype i = 0;
    while (i < commandLine.size() && commandLine.at(i) <= u' ')
        ++i;
    bool quoted = false;
    for (; i < commandLine.size(); ++i) {
        const QChar c = commandLine.at(i);
        if (c == u'"')
            quoted = !quoted;
        else if (c <= u' ' && !quoted)
            break;
        else
            argument += c;
    }
    return argument;
}

bool TFilenameEdit::isValidFileName(const QString &name)
{
    static const QString forbidden = QStringLiteral("<>\"[]|");
    if (name.isEmpty())
        return false;
    return std::none_of(name.cbegin(), name.cend(), [](QChar c) { return forbidden.contains(c); });
}

namespace {

// Why the settings file would give the path back otherwise, or empty: it turns
// a line break into a blank and reads at most 2047 bytes (in the file's CP932,
// or UTF-8 in a file an editor saved so).
QString changedPathReason(const QString &path)
{
    constexpr qsizetype MostValueBytes = 2047;
    if (path.contains(u'\r') || path.contains(u'\n'))
        return QStringLiteral("ファイル名の中の改行");
    const qsizetype bytes = std::max(Cp932::encode(path).size(), path.toUtf8().size());
    if (bytes > MostValueBytes)
        return QStringLiteral("%1 バイトを越える長さのファイル名").arg(MostValueBytes);
    return QString();
}

} // namespace

QString TFilenameEdit::unholdablePathMessage(const QString &path)
{
    QString reason;
    if (const auto unmappable = TextFile::firstUnmappable(path))
        reason = QStringLiteral("ファイル名の文字「%1」").arg(unmappable->character);
    else
        reason = changedPathReason(path);
    if (reason.isEmpty())
        return QString();
    return QStringLiteral("%1は設定ファイルに保存できないため、このファイルは使えません。\n%2")
        .arg(reason, path);
}

QString TFilenameEdit::fileName() const
{
    const QString raw = text();
    if (QFileInfo(raw).isFile())
        return raw;
    return firstArgument(raw);
}

QString TFilenameEdit::unquotedText() const
{
    const QString raw = text();
    if (QFileInfo(raw).isFile())
        return raw;
    // Blanks around the name are typing slips, and a settings file would drop them anyway.
    const QString name = raw.trimmed();
    if (name.size() >= 2 && name.startsWith(u'"') && name.endsWith(u'"'))
        return name.mid(1, name.size() - 2);
    return name;
}

// A usable name in the text opens the dialog in its folder with the name
// preselected; anything else leaves the dialog as its last use left it.
void TFilenameEdit::prepareDialogName()
{
    QString name = fileName();
    if (!isValidFileName(name))
        return;
    const QString folder = folderPart(name);
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        m_initialDir = folder;
    const QString filePart = name.mid(folder.size());
    if (!isValidFileName(filePart))
        name.clear();
    m_dialogFileName = name;
}

void TFilenameEdit::ButtonClick()
{
    if (isLocked())
        return;
    prepareDialogName();
    const FileDialogRequest request { m_dialogTitle, m_filter, m_filterIndex, m_initialDir,
        m_dialogFileName };
    const QString picked = m_dialogs.browseFileName(window(), request);
    if (isEnabled() && isVisible() && focusPolicy() != Qt::NoFocus)
        setFocus();
    if (picked.isEmpty())
        return;
    m_dialogFileName = picked;
    // The settings file is code page 932: a name it cannot hold would not find the
    // file again at the next start.
    const QString refusal = unholdablePathMessage(picked);
    if (!refusal.isEmpty()) {
        m_dialogs.message(window(), QMessageBox::Warning, QString::fromUtf8(ApplicationTitle),
            refusal, QMessageBox::Ok, QMessageBox::Ok);
        return;
    }
    setText(quotedPath(picked));
    m_initialDir = folderPart(picked);
}
