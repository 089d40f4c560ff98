#pragma once

#include <QImage>
#include <QSize>

// The flowing background of the About page: a picture whose rows all start as the blue-to-white
// strip stretched to its width. Every tick moves the whole picture down one row and sideways by
// the wave's offset, and the top row is drawn afresh from the strip.
class AboutBackground {
public:
    // The 340 x 1 strip: deep blue on the left through cyan to white on the right.
    static QImage Strip();

    AboutBackground();

    // Makes the picture the given size, every row the strip stretched to its width, and starts
    // the wave again at phase 0.
    void rebuild(QSize size);

    // One tick of the animation; works on the picture in place, without allocating.
    void tick();

    const QImage& picture() const { return m_picture; }
    int phase() const { return m_phase; }

private:
    QImage m_strip;
    QImage m_row; // the strip stretched to the picture's width
    QImage m_picture;
    int m_phase = 0;
};
