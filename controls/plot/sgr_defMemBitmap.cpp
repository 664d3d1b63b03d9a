#include "controls/plot/sgr_defMemBitmap.h"

void Tsp_MemBitmap::Resize(int width, int height)
{
    m_pixmap = QPixmap();
    m_width = width;
    m_height = height;
    if (width > 0 && height > 0)
        m_pixmap = QPixmap(width, height); // null when the memory cannot be had
}
