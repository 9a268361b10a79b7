#include "image.h"

#include <QPainter>
#include <QWidget>

namespace hollenby::ui {

class Image::View : public QWidget
{
public:
    explicit View(QWidget* parent) : QWidget(parent)
    {
        // Nothing behind the picture needs painting first: the container shows through where
        // there is no picture.
        setAttribute(Qt::WA_NoSystemBackground);
    }
    QPixmap pixmap;

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (pixmap.isNull())
            return;
        QPainter painter(this);
        painter.drawPixmap(0, 0, pixmap);
    }
};

Image::Image(QWidget* parent, double unitsPerPixel)
    : Control(new View(parent), unitsPerPixel), m_view(static_cast<View*>(widget()))
{
}

bool Image::hasPicture() const
{
    return !m_view->pixmap.isNull();
}

const QPixmap& Image::Picture() const
{
    return m_view->pixmap;
}

void Image::setPicture(const QImage& picture)
{
    if (picture.isNull()) {
        clearPicture();
        return;
    }
    m_view->pixmap = QPixmap::fromImage(picture);
    const float width = fromPixels(picture.width());
    const float height = fromPixels(picture.height());
    if (width != Width() || height != Height()) {
        storeSize(width, height);
        m_view->resize(picture.size());
    }
    m_view->update();
}

void Image::clearPicture()
{
    if (m_view->pixmap.isNull())
        return;
    m_view->pixmap = QPixmap();
    m_view->update();
}

void Image::copyFrom(const Image& other)
{
    copyCommonFrom(other);
    m_view->pixmap = other.m_view->pixmap;
    setVisible(false);
}

} // namespace hollenby::ui
