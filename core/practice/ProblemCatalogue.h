#pragma once

#include "platform/FileSearch.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// One row of the problem list, in the order of the grid's columns.
struct CatalogueEntry
{
    QString grade;
    QString fileName;
    QString countText;
    QString firstPart;
};

// The problem folder, ending in a separator so a file name can be appended directly.
// programFolder already ends in one; the doubled separator this gives is kept on purpose.
QString problemPath(const QString &programFolder);

// Names of the *.txt entries (any letter case, hidden ones and folders included)
// in the file system's order; empty when the folder is missing.
QStringList problemFileNames(const QString &problemPath);
// The same entries, each with the bytes that open it where its name needs them.
QList<FileSearch::Entry> problemFiles(const QString &problemPath);

// The catalogue's length measure of a CP932 text with CR LF breaks laid out in
// displayLines lines: the characters beginning within its first B - N + 1 bytes.
int catalogueCount(const QByteArray &text, int displayLines);

// "1" (longest) to "5" (shortest).
QString gradeFor(int count);

CatalogueEntry catalogueEntry(
    const QString &fileName, const QByteArray &text, int displayLines, const QByteArray &firstLine);
