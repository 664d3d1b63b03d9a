#include "controls/edit/RxCombos.h"

#include <QAbstractItemView>
#include <QFile>
#include <QFontDatabase>
#include <QLineEdit>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString Gothic = QStringLiteral("MS ゴシック");
// The families named here come with what tools/build.sh installs: the IPA
// fonts, and fonts-urw-base35 for the tests. Nothing else is there on a clean
// machine, not even DejaVu.
const QString Sans = QStringLiteral("Nimbus Sans");
const QString Mono = QStringLiteral("Nimbus Mono PS");
const QString Serif = QStringLiteral("Nimbus Roman");

// A copy of an installed font under a family name nothing else has, so
// adding it at run time brings a new entry.
QString renamedFontCopy(const QString &folder, const QString &newName)
{
    QFile in(QStringLiteral("/usr/share/fonts/opentype/urw-base35/NimbusMonoPS-Regular.otf"));
    if (!in.open(QIODevice::ReadOnly))
        return QString();
    QByteArray bytes = in.readAll();
    const QString oldName = Mono; // as long as the new name, so no offset moves
    const auto utf16be = [](const QString &s) {
        QByteArray b;
        for (QChar c : s)
            b.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
        return b;
    };
    bytes.replace(utf16be(oldName), utf16be(newName));
    bytes.replace(oldName.toLatin1(), newName.toLatin1());
    const QString path = folder + QStringLiteral("/renamed.ttf");
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
        return QString();
    return path;
}

QStringList itemsOf(const TFontComboBox &box)
{
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        items << box.itemText(i);
    return items;
}

// The first installed family Qt reports as a symbol font, by its listed name.
QString installedSymbolFamily()
{
    for (const QString &qtName : QFontDatabase::families())
        if (QFontDatabase::writingSystems(qtName).contains(QFontDatabase::Symbol))
            return TFontComboBox::familyName(qtName);
    return QString();
}

QImage renderedItem(TFontComboBox &box, int row)
{
    QImage image(145, box.itemHeight(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QStyleOptionViewItem option;
    option.initFrom(box.view());
    option.rect = image.rect();
    box.view()->itemDelegate()->paint(&painter, option, box.model()->index(row, 0));
    return image;
}
} // namespace

class TestRxCombos final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void familyName_data();
    void familyName();
    void listing_data();
    void listing();
    void typedNames_data();
    void typedNames();
    void settingFontName_data();
    void settingFontName();
    void fontAddedAtRunTime();
    void itemDrawing();
    void symbolFamilies();
    void openedListMarksTheText();
    void listedLater_data();
    void listedLater();
};

void TestRxCombos::initTestCase()
{
    TFontComboBox::substitute(Gothic, { QStringLiteral("IPAGothic") });
}

void TestRxCombos::familyName_data()
{
    QTest::addColumn<QString>("qtName");
    QTest::addColumn<QString>("expected");
    QTest::newRow("several foundries") << "C059 [urw]"
                                       << "C059";
    QTest::newRow("unknown foundry") << "C059 [UKWN]"
                                     << "C059";
    QTest::newRow("plain family") << "Nimbus Sans"
                                  << "Nimbus Sans";
    QTest::newRow("brackets inside the name") << "Odd [x] Name"
                                              << "Odd [x] Name";
}

void TestRxCombos::familyName()
{
    QFETCH(QString, qtName);
    QFETCH(QString, expected);
    QCOMPARE(TFontComboBox::familyName(qtName), expected);
}

void TestRxCombos::listing_data()
{
    QTest::addColumn<int>("options");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QStringList>("leftOut");
    const QStringList all { Sans, Mono, "IPAGothic", Gothic };
    QTest::newRow("no filter") << 0 << all << QStringList();
    QTest::newRow("no OEM fonts leaves all")
        << int(TFontComboBox::foNoOEMFonts) << all << QStringList();
    QTest::newRow("fixed pitch only")
        << int(TFontComboBox::foFixedPitchOnly) << QStringList { Mono } << QStringList { Sans };
    QTest::newRow("OEM only: none here")
        << int(TFontComboBox::foOEMFontsOnly) << QStringList() << all;
}

void TestRxCombos::listing()
{
    QFETCH(int, options);
    QFETCH(QStringList, listed);
    QFETCH(QStringList, leftOut);
    TFontComboBox box;
    box.setOptions(TFontComboBox::TFontListOptions(options));
    const QStringList items = itemsOf(box);
    for (int i = 1; i < items.size(); ++i)
        QVERIFY2(items[i - 1].compare(items[i], Qt::CaseInsensitive) < 0,
            qPrintable(items[i - 1] + " / " + items[i])); // sorted, each once
    for (const QString &name : listed)
        QVERIFY2(items.contains(name), qPrintable(name));
    for (const QString &name : leftOut)
        QVERIFY2(!items.contains(name), qPrintable(name));
    for (const QString &name : items)
        QVERIFY(!name.endsWith(u']'));
    const int ipa = box.findText(QStringLiteral("IPAGothic"));
    if (ipa >= 0)
        QCOMPARE(box.tagOf(ipa), TFontComboBox::TrueTypeFontType | TFontComboBox::NonSymbol);
}

void TestRxCombos::typedNames_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("notifications");
    QTest::addColumn<QString>("shown");
    QTest::newRow("full name in other case") << "ipagothic" << 1 << "IPAGothic";
    QTest::newRow("substituted name in other case") << "ms ゴシック" << 1 << Gothic;
    QTest::newRow("partial name is silent") << "ipagoth" << 0 << "ipagoth";
    QTest::newRow("unlisted name is silent") << "No Such Font" << 0 << "No Such Font";
    QTest::newRow("each full name on the way counts")
        << "nimbus sans narrow" << 2 << "Nimbus Sans Narrow";
}

void TestRxCombos::typedNames()
{
    QFETCH(QString, typed);
    QFETCH(int, notifications);
    QFETCH(QString, shown);
    TFontComboBox box;
    box.setStyle(TFontComboBox::csDropDown);
    box.setFontName(Serif);
    const int before = box.count();
    box.show();
    QSignalSpy changed(&box, &TFontComboBox::changed);
    box.lineEdit()->clear();
    for (QChar c : typed) // one key per character, Japanese ones included
        QTest::sendKeyEvent(QTest::Click, box.lineEdit(), Qt::Key_unknown, QString(c), {});
    QCOMPARE(changed.count(), notifications);
    QCOMPARE(box.FontName(), shown);
    QCOMPARE(box.count(), before); // nothing typed is added
    QVERIFY(!box.lineEdit()->completer());
    if (notifications > 0)
        QCOMPARE(box.currentIndex(), box.findText(shown));
}

void TestRxCombos::settingFontName_data()
{
    QTest::addColumn<bool>("editable");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("notifications");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("selected"); // -1: no item
    QTest::newRow("its own text") << true << "IPAGothic" << 0 << "IPAGothic" << 1;
    QTest::newRow("other case selects") << true << "IPAGOTHIC" << 1 << "IPAGothic" << 1;
    QTest::newRow("unlisted shown as typed") << true << "Nope" << 1 << "Nope" << -1;
    QTest::newRow("unlisted selects nothing in a list") << false << "Nope" << 1 << "" << -1;
}

void TestRxCombos::settingFontName()
{
    QFETCH(bool, editable);
    QFETCH(QString, name);
    QFETCH(int, notifications);
    QFETCH(QString, shown);
    QFETCH(int, selected);
    TFontComboBox box;
    box.setStyle(editable ? TFontComboBox::csDropDown : TFontComboBox::csDropDownList);
    box.setFontName(QStringLiteral("IPAGothic"));
    QSignalSpy changed(&box, &TFontComboBox::changed);
    box.setFontName(name);
    QCOMPARE(changed.count(), notifications);
    QCOMPARE(box.FontName(), shown);
    QCOMPARE(box.currentIndex(), selected < 0 ? -1 : box.findText(QStringLiteral("IPAGothic")));
}

void TestRxCombos::fontAddedAtRunTime()
{
    QTemporaryDir folder;
    const QString family = QStringLiteral("VemiTest QxMon");
    const QString file = renamedFontCopy(folder.path(), family);
    if (file.isEmpty())
        QSKIP("Nimbus Mono PS is not installed (fonts-urw-base35)");
    TFontComboBox box;
    box.setStyle(TFontComboBox::csDropDown);
    box.setFontName(QStringLiteral("IPAGothic"));
    QSignalSpy changed(&box, &TFontComboBox::changed);
    QVERIFY(box.findText(family) < 0);

    const int id = QFontDatabase::addApplicationFont(file);
    QVERIFY(id >= 0);
    QCOMPARE(QFontDatabase::applicationFontFamilies(id), QStringList { family });
    QTRY_VERIFY(box.findText(family) >= 0);
    QCOMPARE(box.FontName(), QStringLiteral("IPAGothic"));
    QCOMPARE(box.currentIndex(), box.findText(QStringLiteral("IPAGothic")));
    QCOMPARE(changed.count(), 0);

    QVERIFY(QFontDatabase::removeApplicationFont(id));
    QTRY_VERIFY(box.findText(family) < 0);
    QCOMPARE(box.FontName(), QStringLiteral("IPAGothic"));
}

// Glyph at x = 2 centred in the row; names start 26 pixels in, in their own face with UseFonts.
void TestRxCombos::itemDrawing()
{
    TFontComboBox box;
    QFont font(Sans);
    font.setPixelSize(12);
    box.setFont(font);
    QCOMPARE(box.itemHeight(), std::max(QFontMetrics(font).height() + 1, 11));
    const int row = box.findText(Serif);
    QVERIFY(row >= 0);
    const auto render = [&](bool useFonts) {
        box.setUseFonts(useFonts);
        QImage image(145, box.itemHeight(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QStyleOptionViewItem option;
        option.initFrom(box.view());
        option.rect = image.rect();
        option.palette.setColor(QPalette::Base, Qt::white);
        option.palette.setColor(QPalette::Text, Qt::black);
        box.view()->itemDelegate()->paint(&painter, option, box.model()->index(row, 0));
        return image;
    };
    const QImage plain = render(false);
    const QImage ownFace = render(true);
    const int glyphTop = (plain.height() - 12) / 2;
    QCOMPARE(plain.pixel(2 + 5 + 2, glyphTop + 3 + 4), QColor(0x00, 0x00, 0x80).rgb());
    QCOMPARE(plain.pixel(1, 0), QColor(Qt::white).rgb());
    for (int x = 0; x < 26; ++x)
        for (int y = 0; y < plain.height(); ++y)
            QCOMPARE(plain.pixel(x, y), ownFace.pixel(x, y));
    QVERIFY(plain != ownFace); // the name itself changes face
}

// Symbol fonts are told apart from text fonts: their names stay readable in
// the box's own font, and the symbol and ANSI filters leave them out.
void TestRxCombos::symbolFamilies()
{
    const QString symbol = installedSymbolFamily();
    if (symbol.isEmpty())
        QSKIP("no symbol font installed (fonts-urw-base35 has two)");
    TFontComboBox box;
    const int row = box.findText(symbol);
    QVERIFY2(row >= 0, qPrintable(symbol));
    QCOMPARE(box.tagOf(row) & TFontComboBox::NonSymbol, 0);
    const QImage plain = renderedItem(box, row);
    box.setUseFonts(true);
    QCOMPARE(renderedItem(box, row), plain);
    const int text = box.findText(Serif);
    QVERIFY(text >= 0);
    const QImage ownFace = renderedItem(box, text);
    box.setUseFonts(false);
    QVERIFY(renderedItem(box, text) != ownFace); // a text font still shows its face
    for (const auto option : { TFontComboBox::foNoSymbolFonts, TFontComboBox::foAnsiOnly }) {
        box.setOptions(option);
        QVERIFY2(box.findText(symbol) < 0, qPrintable(symbol));
        QVERIFY(box.findText(Sans) >= 0);
    }
}

void TestRxCombos::openedListMarksTheText()
{
    TFontComboBox box;
    box.setStyle(TFontComboBox::csDropDown);
    box.show();
    box.setCurrentText(Serif.toLower()); // as the settings give it
    QSignalSpy changed(&box, &TFontComboBox::changed);
    box.showPopup();
    QCOMPARE(box.view()->currentIndex().row(), box.findText(Serif));
    box.hidePopup();
    QCOMPARE(changed.count(), 0);
    QCOMPARE(box.FontName(), Serif.toLower());
}

// A box that lists its families later ends up as one that listed them at
// once, whatever fills its list; until then it shows the text it was given.
void TestRxCombos::listedLater_data()
{
    QTest::addColumn<QString>("given"); // written straight in, as start-up does
    QTest::addColumn<QString>("trigger");
    QTest::newRow("first paint, text in other case") << "ipagothic"
                                                     << "paint";
    QTest::newRow("first paint, unlisted text") << "No Such Font"
                                                << "paint";
    QTest::newRow("opened list") << Serif.toLower() << "popup";
    QTest::newRow("typed full names") << "IPAGothic"
                                      << "type";
    QTest::newRow("named family") << Gothic << "name";
    QTest::newRow("arrow key") << "IPAGothic"
                               << "key";
}

void TestRxCombos::listedLater()
{
    QFETCH(QString, given);
    QFETCH(QString, trigger);
    TFontComboBox now;
    TFontComboBox later(nullptr, TFontComboBox::ListAfterFirstPaint);
    QStringList outcome[2];
    for (TFontComboBox *box : { &now, &later }) {
        box->setStyle(TFontComboBox::csDropDown);
        box->setCurrentText(given);
    }
    QCOMPARE(later.count(), 0);
    QCOMPARE(later.FontName(), given);
    for (TFontComboBox *box : { &now, &later }) {
        QSignalSpy changed(box, &TFontComboBox::changed);
        box->show();
        if (trigger == QLatin1String("paint")) {
            QVERIFY(QTest::qWaitForWindowExposed(box));
            QTRY_VERIFY(box->isListed());
        } else if (trigger == QLatin1String("popup")) {
            box->showPopup();
            box->hidePopup();
        } else if (trigger == QLatin1String("type")) {
            box->lineEdit()->clear();
            for (QChar c : Sans.toLower())
                QTest::sendKeyEvent(QTest::Click, box->lineEdit(), Qt::Key_unknown, QString(c), {});
        } else if (trigger == QLatin1String("name")) {
            box->setFontName(Serif);
        } else {
            QTest::keyClick(box, Qt::Key_Down);
        }
        outcome[box == &later] << box->FontName() << QString::number(box->currentIndex())
                               << QString::number(box->count()) << QString::number(changed.count());
    }
    QCOMPARE(outcome[1], outcome[0]);
    QVERIFY(later.isListed());
}

QTEST_MAIN(TestRxCombos)
#include "tst_rxcombos.moc"
