#include "core/practice/ProblemCatalogue.h"

#include "core/text/Cp932.h"
#include "platform/FileSearch.h"

#include <array>

QString problemPath(const QString &programFolder)
{
    return programFolder + QStringLiteral("/問題/");
}

QStringList problemFileNames(const QString &problemPath)
{
    QStringList names;
    for (const FileSearch::Entry &entry : problemFiles(problemPath))
        names << entry.name;
    return names;
}

QList<FileSearch::Entry> problemFiles(const QString &problemPath)
{
    return FileSearch::entriesEndingWith(problemPath, QStringLiteral(".txt"));
}

int catalogueCount(const QByteArray &text, int displayLines)
{
    const qsizetype total = text.size();
    // Each display-line boundary takes one byte off the end of the counted part.
    const qsizetype counted = qMin(total, total - displayLines + 1);
    const auto *bytes = reinterpret_cast<const unsigned char *>(text.constData());
    int count = 0;
    // A double-byte character whose lead byte is the last counted byte counts whole,
    // and CR and LF count like any other character.
    for (qsizetype i = 0; i < counted; ++count)
        i += Cp932::isLeadByte(bytes[i]) ? 2 : 1;
    return count;
}

QString gradeFor(int count)
{
    struct Band
    {
        int minimum;
        char16_t grade;
    };
    static constexpr std::array<Band, 4> Bands { { { 800, u'1' }, { 500, u'2' }, { 350, u'3' },
        { 280, u'4' } } };
    for (const Band &band : Bands) {
        if (count >= band.minimum)
            return QString(QChar(band.grade));
    }
    return QStringLiteral("5");
}

CatalogueEntry catalogueEntry(
    const QString &fileName, const QByteArray &text, int displayLines, const QByteArray &firstLine)
{
    const int count = catalogueCount(text, displayLines);
    return { gradeFor(count), fileName, QString::number(count), Cp932::decode(firstLine) };
}
