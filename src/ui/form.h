#pragma once
// A top-level window. Width and Height are its outer size in the window's units: the client area
// plus a fixed border allowance, the same on every platform, so that a layout written for the
// outer size gives the client area it was made for whatever the window manager draws around it.

#include <QCursor>
#include <QIcon>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QMainWindow;
class QMenu;
class QWidget;

namespace hollenby::ui {

enum class MousePointer
{
    Default,
    Hourglass
};

class MenuItem
{
public:
    MenuItem(QMenu* menu, const QString& caption, int index);
    // Runs with the item's array index when the item is chosen.
    std::function<void(int index)> Click;
    // Chooses the item as a user would.
    void trigger();
    QString Caption() const;

private:
    class Action;
    Action* m_action;
    int m_index;
};

class Form
{
public:
    // unitsPerPixel 15 for a window in twips, 1 for one in pixels; the border allowance is in
    // the same units.
    Form(double unitsPerPixel, float borderWidth, float borderHeight);
    ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    QWidget* window() const;
    // The client area, which the window's own controls are placed in.
    QWidget* client() const;

    QString Caption() const;
    void setCaption(const QString& caption);
    void setIcon(const QIcon& icon);

    // Outer size, kept as set until the window's size changes in some other way.
    float Width() const;
    float Height() const;
    void setWidth(float width);
    void setHeight(float height);
    // Sets the client area's size in pixels, e.g. to the design size before the first showing.
    void setClientPixels(int width, int height);
    // Centres the window, its frame included, on the screen it appears on; when the window
    // manager's frame becomes known after the window is shown, centres it again once. A window
    // larger than the screen's available area is first made as large as fits there.
    void centre();
    // The screen the window appears on (another window's, for a window that belongs with it).
    void setScreenOf(const Form& other);
    void Show();
    void Hide();
    bool isShown() const;

    // Paints the window at the next yield that serves the event queue: everything changed since
    // the last one goes to the display in one trip.
    void Refresh();
    // Over the whole window, text boxes included: a box's own pointer comes back with Default.
    void setMousePointer(MousePointer pointer);
    MousePointer mousePointer() const { return m_pointer; }

    // A top-level menu; its items are added with addMenuItem.
    QMenu* addMenu(const QString& caption);
    MenuItem& addMenuItem(QMenu* menu, const QString& caption, int index);

    // Raised once for every size change: the first showing, a drag of the border, maximising,
    // minimising and restoring.
    std::function<void()> Resize;
    // Raised when the user closes the window (close box, Alt+F4).
    std::function<void()> Unload;

    double unitsPerPixel() const { return m_unitsPerPixel; }

private:
    class Window;
    friend class Window;
    Window* m_window;
    double m_unitsPerPixel;
    float m_borderWidth;
    float m_borderHeight;
    // The size as last set, and the client pixels it was applied as.
    float m_width = 0;
    float m_height = 0;
    int m_appliedWidthPx = -1;
    int m_appliedHeightPx = -1;
    MousePointer m_pointer = MousePointer::Default;
    std::vector<std::pair<QPointer<QWidget>, QCursor>> m_ownPointers;
    std::vector<std::unique_ptr<MenuItem>> m_menuItems;
    void clientResized(int widthPx, int heightPx);
    void centreOnScreen();
};

} // namespace hollenby::ui
