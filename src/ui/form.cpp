#include "form.h"

#include "controls.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>

#include <cmath>

namespace hollenby::ui {

class MenuItem::Action : public QAction
{
public:
    Action(const QString& caption, QObject* parent) : QAction(caption, parent) {}
};

MenuItem::MenuItem(QMenu* menu, const QString& caption, int index)
    : m_action(new Action(caption, menu)), m_index(index)
{
    menu->addAction(m_action);
    QObject::connect(m_action, &QAction::triggered, m_action, [this] {
        if (Click)
            Click(m_index);
    });
}

void MenuItem::trigger()
{
    m_action->trigger();
}

QString MenuItem::Caption() const
{
    return m_action->text();
}

class Form::Window : public QMainWindow
{
public:
    explicit Window(Form& form) : m_form(form)
    {
        auto* client = new QWidget(this);
        setCentralWidget(client);
        setFont(DefaultFont());
        menuBar()->setFont(DefaultFont());
    }

    // Set by centre(): the frame was not counted yet, so centre again once it is known.
    bool recentreWhenFramed = false;

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QMainWindow::resizeEvent(event);
        const QSize client = centralWidget()->size();
        m_form.clientResized(client.width(), client.height());
        recentreIfFramed();
        if (m_form.Resize)
            m_form.Resize();
    }

    void moveEvent(QMoveEvent* event) override
    {
        QMainWindow::moveEvent(event);
        recentreIfFramed();
    }

    void changeEvent(QEvent* event) override
    {
        QMainWindow::changeEvent(event);
        if (event->type() != QEvent::WindowStateChange)
            return;
        // Minimising and restoring keep the size, so no resize event tells the layout; but
        // leaving or entering the maximised state as well changes the size, and the resize event
        // that follows is the one change the layout hears of.
        const Qt::WindowStates changed =
            static_cast<QWindowStateChangeEvent*>(event)->oldState() ^ windowState();
        if ((changed & Qt::WindowMinimized) && !(changed & Qt::WindowMaximized) && m_form.Resize)
            m_form.Resize();
    }

    void closeEvent(QCloseEvent* event) override
    {
        event->accept();
        if (m_form.Unload)
            m_form.Unload();
    }

private:
    Form& m_form;

    void recentreIfFramed()
    {
        if (recentreWhenFramed && frameGeometry().size() != geometry().size()) {
            recentreWhenFramed = false;
            m_form.centreOnScreen();
        }
    }
};

Form::Form(double unitsPerPixel, float borderWidth, float borderHeight)
    : m_window(new Window(*this)), m_unitsPerPixel(unitsPerPixel), m_borderWidth(borderWidth),
      m_borderHeight(borderHeight)
{}

Form::~Form()
{
    // Nothing may run into a half-destroyed form.
    Resize = nullptr;
    Unload = nullptr;
    delete m_window;
}

QWidget* Form::window() const
{
    return m_window;
}

QWidget* Form::client() const
{
    return m_window->centralWidget();
}

QString Form::Caption() const
{
    return m_window->windowTitle();
}

void Form::setCaption(const QString& caption)
{
    m_window->setWindowTitle(caption);
}

void Form::setIcon(const QIcon& icon)
{
    m_window->setWindowIcon(icon);
}

float Form::Width() const
{
    return m_width;
}

float Form::Height() const
{
    return m_height;
}

void Form::clientResized(int widthPx, int heightPx)
{
    // A size set by code is kept exactly; any other size comes from the pixels.
    if (widthPx != m_appliedWidthPx) {
        m_width = static_cast<float>(widthPx * m_unitsPerPixel + m_borderWidth);
        m_appliedWidthPx = widthPx;
    }
    if (heightPx != m_appliedHeightPx) {
        m_height = static_cast<float>(heightPx * m_unitsPerPixel + m_borderHeight);
        m_appliedHeightPx = heightPx;
    }
}

namespace {

int ClientPixels(float outer, float border, double unitsPerPixel)
{
    return std::max(0, static_cast<int>(std::lround((outer - border) / unitsPerPixel)));
}

} // namespace

void Form::setWidth(float width)
{
    m_width = width;
    const int px = ClientPixels(width, m_borderWidth, m_unitsPerPixel);
    const int menu =
        m_window->menuBar()->isVisible() ? m_window->menuBar()->sizeHint().height() : 0;
    m_appliedWidthPx = px;
    m_window->resize(px, m_window->centralWidget()->height() + menu);
}

void Form::setHeight(float height)
{
    m_height = height;
    const int px = ClientPixels(height, m_borderHeight, m_unitsPerPixel);
    m_appliedHeightPx = px;
    const int menu = m_window->height() - m_window->centralWidget()->height();
    m_window->resize(m_window->width(), px + std::max(0, menu));
}

void Form::setClientPixels(int width, int height)
{
    // Before the first showing the menu bar has no height yet; ask it.
    const int menu =
        m_window->menuWidget() != nullptr ? m_window->menuWidget()->sizeHint().height() : 0;
    m_window->resize(width, height + menu);
    m_width = static_cast<float>(width * m_unitsPerPixel + m_borderWidth);
    m_height = static_cast<float>(height * m_unitsPerPixel + m_borderHeight);
    m_appliedWidthPx = width;
    m_appliedHeightPx = height;
}

void Form::centre()
{
    // Before the first showing the frame is not known; a window manager adds it afterwards.
    m_window->recentreWhenFramed = m_window->frameGeometry().size() == m_window->size();
    centreOnScreen();
}

void Form::centreOnScreen()
{
    const QScreen* screen = m_window->screen();
    if (screen == nullptr)
        return;
    const QRect area = screen->availableGeometry();
    // What the window manager adds around the window; nothing until it has framed the window.
    const QSize frame = m_window->frameGeometry().size() - m_window->size();
    // A window larger than the screen opens at the largest size that fits it; its size change
    // lays it out as any other does.
    const QSize fitted = m_window->size().boundedTo(area.size() - frame);
    if (fitted != m_window->size())
        m_window->resize(fitted);
    const QSize size = fitted + frame;
    // A top-level window's position is its frame's.
    m_window->move(area.x() + std::max(0, (area.width() - size.width()) / 2),
                   area.y() + std::max(0, (area.height() - size.height()) / 2));
}

void Form::setScreenOf(const Form& other)
{
    if (QScreen* screen = other.m_window->screen())
        m_window->setScreen(screen);
}

void Form::Show()
{
    m_window->show();
}

void Form::Hide()
{
    m_window->hide();
}

bool Form::isShown() const
{
    return m_window->isVisible();
}

void Form::Refresh()
{
    // Whatever changed has asked for its own painting, which the next service of the queue does;
    // painting and sending it here, for every tile of a render, would make a round trip to an X
    // display for each.
}

void Form::setMousePointer(MousePointer pointer)
{
    m_pointer = pointer;
    if (pointer == MousePointer::Hourglass) {
        m_window->setCursor(Qt::WaitCursor);
        // Text boxes have a pointer of their own, which would show instead of the window's.
        for (QWidget* child : m_window->findChildren<QWidget*>()) {
            if (child->testAttribute(Qt::WA_SetCursor) &&
                child->cursor().shape() != Qt::WaitCursor) {
                m_ownPointers.emplace_back(child, child->cursor());
                child->setCursor(Qt::WaitCursor);
            }
        }
        return;
    }
    m_window->unsetCursor();
    for (const auto& [child, cursor] : m_ownPointers) {
        if (child)
            child->setCursor(cursor);
    }
    m_ownPointers.clear();
}

QMenu* Form::addMenu(const QString& caption)
{
    return m_window->menuBar()->addMenu(caption);
}

MenuItem& Form::addMenuItem(QMenu* menu, const QString& caption, int index)
{
    m_menuItems.push_back(std::make_unique<MenuItem>(menu, caption, index));
    return *m_menuItems.back();
}

} // namespace hollenby::ui
