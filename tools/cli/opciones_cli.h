#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace qv {

// The options of a quorvane-cli command line, after the command word.
struct TOpcionesCli {
    QStringList posicionales;
    QString salida;        // -o
    QStringList senales;   // --signals
    bool csv = false;
    bool sobreescribir = false; // --overwrite
    bool forzar = false;        // --force
    QString puerto;        // --port
    QString relay;         // --relay
    bool esperar = false;  // --wait: a busy unit is waited for in line
    QString origen;        // --source: the local address to connect from
    bool hayRetardo = false;
    QString retardo;       // --delay
    bool digital = false;  // --digital
    QString tamano;        // --size
    QString ejeX;          // --x: the analog signal on the X axis (an XY plot)
    QString desde;         // --from: seconds, empty when not given
    QString hasta;         // --to
    bool vcd = false;      // --vcd
    bool espectro = false; // --spectrum
    QString modelo;        // --model: the model of a fit
};

// Reads the options; false with the reason (English, for the usage message) in `error`.
bool LeerOpcionesCli(const QStringList& args, TOpcionesCli& op, QString& error);

// Where --relay points: HOST, HOST:PORT or [IPv6]:PORT (a bare IPv6 address takes the
// default port). Nothing when the port is not a number from 1 to 65535.
struct TDestinoRelay {
    QString host;
    int puerto;
};
std::optional<TDestinoRelay> LeerDestinoRelay(const QString& texto, int puertoPorDefecto);

// Whether a unit's version text looks like one ("1.21"): 1 to 16 letters, digits,
// dots, hyphens or underscores. Anything else is not the unit talking sense.
bool VersionValida(const QString& version);

} // namespace qv
