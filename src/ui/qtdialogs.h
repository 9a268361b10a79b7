#pragma once

#include "dialogs.h"

namespace hollenby::ui {

class QtDialogs : public Dialogs
{
public:
    void GetOpenFileName(OpenFileName& record) override;
    std::optional<QString> BrowseForFolder(QWidget* owner, const QString& prompt) override;
    void EndProgram() override;

    // "Name\0*.a;*.b\0..." as Qt's filter list "Name (*.a;*.b)", one entry per pair.
    static QStringList QtFilters(const QString& nulSeparated);

protected:
    // A box of a minimised or hidden window is shown on its own instead: it would stay hidden
    // with its window while holding every key and click.
    void showMessage(const QString& text, MsgStyle style, QWidget* owner) override;
};

} // namespace hollenby::ui
