#pragma once

#include <QPixmap>

// The plot's off-screen drawing surface. It is usable only when the pixmap
// exists; a failed allocation leaves it unusable and the plot paints directly.
class Tsp_MemBitmap
{
public:
    Tsp_MemBitmap(int width, int height) { Resize(width, height); }

    bool Valid() const { return !m_pixmap.isNull(); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    QPixmap &pixmap() { return m_pixmap; }

    // Releases the surface and creates it again at the new size.
    void Resize(int width, int height);

private:
    int m_width = 0;
    int m_height = 0;
    QPixmap m_pixmap;
};
