#pragma once

#include <QIcon>
#include <QPixmap>

// The program's own icon: a keyboard under a stopwatch on a teal tile.
// vemitrainer.svg beside this file is the same picture as a drawing.
class ProgramIcon
{
public:
    // Painted at the given size (1 to 256), never scaled from another size.
    static QPixmap pixmap(int size);
    static QImage image(int size);
    // 16, 32, 48 and 256 pixels, for title bars, task bars and dialogs.
    static QIcon icon();
};
