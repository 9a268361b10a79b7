#pragma once

#include "dialogs.h"

namespace hollenby::ui {

class QtDialogs : public Dialogs
{
public:
    void MsgBox(const QString& text, MsgStyle style) override;
    void GetOpenFileName(OpenFileName& record) override;
    std::optional<QString> BrowseForFolder(QWidget* owner, const QString& prompt) override;
    void EndProgram() override;

    // "Name\0*.a;*.b\0..." as Qt's filter list "Name (*.a;*.b)", one entry per pair.
    static QStringList QtFilters(const QString& nulSeparated);
};

} // namespace hollenby::ui
