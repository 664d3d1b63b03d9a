#pragma once

#include <QIcon>
#include <QPixmap>

// The main window's tool-bar image list. Images are painted in code so they stay
// sharp at both the classic 16 px tool-bar size and 32 px on dense screens.
class ToolImageList
{
public:
    static constexpr int Count = 19;

    // Indices 4-14 are ordinary editor images that the tool bar does not show
    // today; they keep the list complete so indices stay stable.
    enum Index {
        New = 0,
        Open = 1,
        Save = 2,
        Print = 3,
        TimerStart = 15,
        TimerStop = 16,
        OnePane = 17,
        TwoPanes = 18
    };

    // Holds 16x16 and 32x32 pixmaps; null for an index outside 0..Count-1.
    static QIcon icon(int index);

    // Painted directly at the requested size (meant for 16 or 32), never scaled
    // from another size. Null for a bad index or a size outside 1..256.
    static QPixmap pixmap(int index, int size);
};
