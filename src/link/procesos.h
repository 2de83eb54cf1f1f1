#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace qv {

// The running processes of this user that run one program file of the program
// folder, found through /proc. Only processes of the same user are considered, and a
// process matches by its executable (resolved, compared with the program file's
// canonical path) or, for a script, by its interpreter running the file as its first
// argument. Other programs of the same name elsewhere on the machine never match.
// Off Linux nothing is found.
struct TProceso {
    qint64 pid = 0;
    quint64 inicio = 0;      // start time in clock ticks: tells a reused pid apart
    QStringList argumentos;  // after the program (or after the script)
};

namespace Procesos {

// The matching processes. With `soloSinArgumentos`, only those started without arguments.
QList<TProceso> DelPrograma(const QString& programa, bool soloSinArgumentos = false);

// Asks each process to end (SIGTERM); those still alive after `esperaMs` are killed
// (SIGKILL). A pid that was reused meanwhile is left alone. Answers how many of them
// are gone at the end.
int Terminar(const QList<TProceso>& procesos, int esperaMs);

} // namespace Procesos

} // namespace qv
