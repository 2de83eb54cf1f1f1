// quorvane-cli: file information, table and CSV export, and scripted captures with
// the program's own model and link libraries.
#include "ordenes_cli.h"

#include <QCoreApplication>

#include <csignal>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // A closed pipe on standard output must end the write with an error, not the process.
    ::signal(SIGPIPE, SIG_IGN);
    qv::TOrdenesCli ordenes(QCoreApplication::applicationDirPath());
    return ordenes.Ejecutar(app.arguments().mid(1));
}
