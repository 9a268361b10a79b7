#include "qtdialogs.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QFontInfo>
#include <QGridLayout>
#include <QMessageBox>
#include <QPointer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace hollenby::ui {

namespace {

// A message box sizes itself to its text, and the title bar then cuts a long title short. The
// box is made wide enough for the title as title bars draw it (bold, or at least 14 px, as Qt's
// own Wayland decoration does), centred between the window's icon on one side and three buttons
// on the other: about five letter heights of room on each side.
void MakeRoomForTitle(QMessageBox& box)
{
    QFont font = box.font();
    font.setPixelSize(std::max(QFontInfo(font).pixelSize(), 14));
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(box.windowTitle()) + 10 * metrics.height();
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
}

// The control that gets the focus back when a dialog closes draws the style's focus frame, as
// after a key; Qt draws it only for focus that keys moved, and the user would not see where
// typing goes.
class FocusShownOnReturn
{
public:
    explicit FocusShownOnReturn(QWidget* window)
        : m_window(window != nullptr ? window : QApplication::activeWindow())
    {}
    ~FocusShownOnReturn()
    {
        if (m_window == nullptr)
            return;
        m_window->setAttribute(Qt::WA_KeyboardFocusChange);
        if (QWidget* focus = m_window->focusWidget())
            focus->update();
    }
    FocusShownOnReturn(const FocusShownOnReturn&) = delete;
    FocusShownOnReturn& operator=(const FocusShownOnReturn&) = delete;

private:
    QPointer<QWidget> m_window;
};

} // namespace

void QtDialogs::showMessage(const QString& text, MsgStyle style, QWidget* owner)
{
    QWidget* parent =
        owner != nullptr && owner->isVisible() && !owner->isMinimized() ? owner : nullptr;
    const FocusShownOnReturn focus(owner);
    QMessageBox box(parent);
    box.setWindowTitle(kAppTitle);
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setText(shown);
    box.setTextFormat(Qt::PlainText);
    box.setStandardButtons(QMessageBox::Ok);
    switch (style) {
    case MsgStyle::Plain:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MsgStyle::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgStyle::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgStyle::InformationSystemModal:
        box.setIcon(QMessageBox::Information);
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
        break;
    }
    box.setWindowModality(Qt::ApplicationModal);
    MakeRoomForTitle(box);
    box.exec();
}

QStringList QtDialogs::QtFilters(const QString& nulSeparated)
{
    const QStringList parts = nulSeparated.split(QChar(0));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty() && parts[i + 1].isEmpty())
            break;
        filters << QStringLiteral("%1 (%2)").arg(parts[i], parts[i + 1]);
    }
    return filters;
}

void QtDialogs::GetOpenFileName(OpenFileName& record)
{
    // No owner window: the main window stays usable while the dialog is open.
    const FocusShownOnReturn focus(nullptr);
    QFileDialog dialog(nullptr, record.lpstrTitle);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setOption(QFileDialog::ReadOnly);
    const QStringList filters = QtFilters(record.lpstrFilter);
    dialog.setNameFilters(filters);
    if (record.nFilterIndex > 0 && record.nFilterIndex <= filters.size())
        dialog.selectNameFilter(filters[record.nFilterIndex - 1]);
    dialog.setDefaultSuffix(record.lpstrDefExt);
    // Not exec(), which would make the dialog modal to the whole program: the main window takes
    // clicks and keys while the dialog is open, and may even open a second one.
    dialog.setWindowModality(Qt::NonModal);
    QEventLoop untilClosed;
    QObject::connect(&dialog, &QDialog::finished, &untilClosed, &QEventLoop::quit);
    dialog.show();
    untilClosed.exec();
    if (dialog.result() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    record.nFilterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    // The whole path, however long: nMaxFile sizes a fixed buffer on other platforms, and cutting
    // the path to fit it would name a different file.
    record.lpstrFile = path + QChar(0);
}

std::optional<QString> QtDialogs::BrowseForFolder(QWidget* owner, const QString& prompt)
{
    const FocusShownOnReturn focus(owner);
    const QString folder = QFileDialog::getExistingDirectory(owner, prompt, QStringLiteral("/"),
                                                             QFileDialog::ShowDirsOnly);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

void QtDialogs::EndProgram()
{
    // Leave at once: no handler that yielded may resume into a window being torn down.
    std::fflush(nullptr);
    std::_Exit(0);
}

} // namespace hollenby::ui
