#include "dialogs/about/AboutBox.h"

#include "controls/layout/FormFont.h"
#include "dialogs/about/HyperLabel.h"
#include "dialogs/about/UserGuide.h"
#include "dialogs/about/VersionInfo.h"
#include "platform/ErrorReport.h"
#include "platform/ProgramPath.h"
#include "resources/ProgramIcon.h"

#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

namespace {
constexpr int DesignIconSize = 32;

// Shown until the program's icon replaces it (it stays when that fails).
QPixmap designPicture()
{
    QPixmap picture(DesignIconSize, DesignIconSize);
    picture.fill(Qt::lightGray);
    return picture;
}
} // namespace

TAboutBoxForm::TAboutBoxForm(
    const QString &programFile, Dialogs &dialogs, Shell &shell, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("バージョン情報"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFont(FormFont::font());
    setFixedSize(298, 213);
    setupControls(shell);
    // Silent otherwise: the learner would click on and on.
    connect(HyperLabel1, &THyperLabel::openFailed, this, [this, &dialogs](const QUrl &address) {
        const QString file = address.toLocalFile();
        showErrorBox(dialogs, this,
            address.isLocalFile() ? UserGuide::cannotOpenMessage(file, QFileInfo(file).isFile())
                                  : QStringLiteral("%1 を開けません。").arg(address.toString()));
    });
    HyperLabel1->setText(userGuideAddress(programFile));
    HyperLabel1->setToolTip(HyperLabel1->text());
    if (const QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
    FormCreate(programFile, dialogs);
}

QString TAboutBoxForm::userGuideAddress(const QString &programFile)
{
    const QString guide
        = ProgramPath::folderOf(programFile) + QString::fromLatin1(UserGuide::FileName);
    return QUrl::fromLocalFile(guide).toString();
}

void TAboutBoxForm::setUserGuide(const QString &guideFile)
{
    HyperLabel1->setText(QUrl::fromLocalFile(guideFile).toString());
    HyperLabel1->setToolTip(HyperLabel1->text());
}

void TAboutBoxForm::setupControls(Shell &shell)
{
    Panel1 = new QFrame(this);
    Panel1->setGeometry(8, 8, 281, 161);
    // A lowered outer and a raised inner bevel: an etched frame.
    Panel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Panel1->setLineWidth(1);

    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setGeometry(8, 8, 65, 57);
    ProgramIcon->setScaledContents(true);
    ProgramIcon->setPixmap(designPicture());

    const auto makeLabel = [this](int x, int y, const char *designText) {
        auto *label = new QLabel(QString::fromUtf8(designText), Panel1);
        label->move(x, y);
        label->setTextFormat(Qt::PlainText);
        label->resize(Panel1->width() - x - 4, label->sizeHint().height());
        return label;
    };
    ProductNameLabel = makeLabel(88, 16, "Product Name");
    QFont productFont = FormFont::font(16);
    productFont.setBold(true);
    productFont.setItalic(true);
    ProductNameLabel->setFont(productFont);
    ProductNameLabel->resize(ProductNameLabel->width(), ProductNameLabel->sizeHint().height());
    QPalette teal = ProductNameLabel->palette();
    teal.setColor(QPalette::WindowText, QColor(0x00, 0x80, 0x80));
    ProductNameLabel->setPalette(teal);
    VersionLabel = makeLabel(88, 40, "VersionLabel");
    CopyrightLabel = makeLabel(8, 112, "CopyrightLabel");

    HyperLabel1 = new THyperLabel(shell, Panel1);
    QFont linkFont = FormFont::font();
    linkFont.setUnderline(true);
    HyperLabel1->setFont(linkFont);
    HyperLabel1->setGeometry(88, 136, Panel1->width() - 88 - 4, 16);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setGeometry(111, 180, 75, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBoxForm::FormCreate(const QString &programFile, Dialogs &dialogs)
{
    try {
        TVersionInfo info(programFile);
        ProductNameLabel->setText(info.ProductName());
        CopyrightLabel->setText(info.LegalCopyright());
        VersionLabel->setText(info.versionPart(0) + u'.' + info.versionPart(1) + u'.'
            + info.versionPart(2) + QStringLiteral("(build ") + info.versionPart(3) + u')');
        ProgramIcon->setPixmap(ProgramIcon::pixmap(DesignIconSize));
    } catch (const VemiError &error) {
        showErrorBox(dialogs, this, error.message());
    }
}
