#pragma once

#include <QString>

class Dialogs;
class QWidget;
class Shell;

// The learner's guide (in Japanese), rendered from docs/guide.md by the build.
namespace UserGuide {

constexpr auto FileName = "guide.html";

// Opens the guide with the desktop's program for it. Where there is no such
// program, or no file, a box names the file, so the learner can still find it.
void open(Shell &shell, Dialogs &dialogs, QWidget *parent, const QString &guideFile);

// What the box says when the guide cannot be shown.
QString cannotOpenMessage(const QString &guideFile, bool exists);

} // namespace UserGuide
