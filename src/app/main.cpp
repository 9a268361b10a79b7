// The editor starts with its main window and nothing else: no arguments, no settings.

#include "frmmain.h"
#include "qtdialogs.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("hollenby-level-editor"));
    QApplication::setWindowIcon(hollenby::app::ApplicationIcon());
    hollenby::ui::QtDialogs dialogs;
    hollenby::app::frmMain main(dialogs);
    main.Show();
    return QApplication::exec();
}
