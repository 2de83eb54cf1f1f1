// quorvane-cli: file information, table and CSV export, scripted captures with the
// program's own model and link libraries, and graphs drawn by its plot library.
#include "ordenes_cli.h"

#include <QApplication>
#include <QCoreApplication>

#include <csignal>
#include <cstring>
#include <memory>

int main(int argc, char** argv)
{
    // Graphs are drawn by the program's own widgets, off any screen.
    const bool dibuja = argc > 1 && std::strcmp(argv[1], "render") == 0;
    if (dibuja)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app;
    if (dibuja)
        app = std::make_unique<QApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    // A closed pipe on standard output must end the write with an error, not the process.
    ::signal(SIGPIPE, SIG_IGN);
    qv::TOrdenesCli ordenes(QCoreApplication::applicationDirPath());
    return ordenes.Ejecutar(app->arguments().mid(1));
}
