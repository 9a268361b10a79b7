#include "qtdialogs.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>

namespace hollenby::ui {

void QtDialogs::MsgBox(const QString& text, MsgStyle style)
{
    QMessageBox box;
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
