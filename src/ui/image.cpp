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

    void setPixmap(const QPixmap& picture)
    {
        m_pixmap = picture;
        changed();
    }
    const QPixmap& pixmap() const { return m_pixmap; }

    void setDrawn(bool drawn)
    {
        if (drawn == m_drawn)
            return;
        m_drawn = drawn;
        changed();
    }

protected:
    void resizeEvent(QResizeEvent*) override { updateOpacity(); }

    void paintEvent(QPaintEvent*) override
    {
        if (!m_drawn || m_pixmap.isNull())
            return;
        QPainter painter(this);
        painter.drawPixmap(0, 0, m_pixmap);
    }

private:
    QPixmap m_pixmap;
    bool m_drawn = true;

    void changed()
    {
        updateOpacity();
        update();
    }

    void updateOpacity()
    {
        // A picture that covers the whole control spares painting the container beneath it,
        // which for a frame costs more than the picture itself.
        setAttribute(Qt::WA_OpaquePaintEvent, m_drawn && !m_pixmap.isNull() &&
                                                  !m_pixmap.hasAlphaChannel() &&
                                                  m_pixmap.size() == size());
    }
};

Image::Image(QWidget* parent, double unitsPerPixel)
    : Control(new View(parent), unitsPerPixel), m_view(static_cast<View*>(widget()))
{
    letClicksThrough();
}

bool Image::hasPicture() const
{
    return !m_view->pixmap().isNull();
}

const QPixmap& Image::Picture() const
{
    return m_view->pixmap();
}

void Image::setPicture(const QImage& picture)
{
    if (picture.isNull()) {
        clearPicture();
        return;
    }
    const float width = fromPixels(picture.width());
    const float height = fromPixels(picture.height());
    if (width != Width() || height != Height()) {
        storeSize(width, height);
        m_view->resize(picture.size());
    }
    m_view->setPixmap(QPixmap::fromImage(picture));
}

void Image::clearPicture()
{
    if (!m_view->pixmap().isNull())
        m_view->setPixmap(QPixmap());
}

void Image::copyFrom(const Image& other)
{
    copyCommonFrom(other);
    m_view->setPixmap(other.m_view->pixmap());
    setVisible(false);
}

void Image::applyVisible(bool visible)
{
    // The widget itself stays shown once its container is; only its drawing comes and goes.
    m_view->show();
    m_view->setDrawn(visible);
}

} // namespace hollenby::ui
