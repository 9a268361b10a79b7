#pragma once
// An image control: shows its picture at the picture's own size, never stretched. Without a
// picture it keeps its size and shows nothing.
//
// An image lets clicks through to what lies beneath it. Hiding it only stops it being drawn: a
// render hides and shows every tile of the view, and hiding or showing a widget asks the display
// where the mouse pointer is.

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

protected:
    void applyVisible(bool visible) override;

private:
    class View;
    View* m_view;
};

} // namespace hollenby::ui
