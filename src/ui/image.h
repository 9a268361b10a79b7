#pragma once
// An image control: shows its picture at the picture's own size, never stretched. Without a
// picture it keeps its size and shows nothing.

#include "control.h"

#include <QImage>
#include <QPixmap>

namespace hollenby::ui {

class Image : public Control
{
public:
    Image(QWidget* parent, double unitsPerPixel);

    bool hasPicture() const;
    const QPixmap& Picture() const;
    // Takes the picture's size; an empty image clears the picture and keeps the size.
    void setPicture(const QImage& picture);
    void clearPicture();
    // A new element of a control array: hidden, with the lowest element's properties.
    void copyFrom(const Image& other);

private:
    class View;
    View* m_view;
};

} // namespace hollenby::ui
