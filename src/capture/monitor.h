#pragma once

#include "link/monitor_sad.h"
#include "link/servicio_sad.h"

#include <QString>
#include <QVector>

#include <array>
#include <memory>
#include <vector>

namespace qv {

class TCjtSenales;
class TConfigES;
class TInteraccion;
class TSenal;
class TTextos;

// Where the monitoring draws: series that are given their first points and then grow
// point by point, each new piece drawn without redrawing what is there.
class IDibujoMonitor {
public:
    virtual ~IDibujoMonitor() = default;
    // Covers the graph while it is set up: no series, X from 0 to the capture's length.
    virtual void Empezar(double duracionSegundos) = 0;
    virtual int NuevaSerie(const QString& nombre) = 0;
    virtual void PonerDatos(int serie, const QVector<double>& x, const QVector<double>& y) = 0;
    // Draws the segment from the series' last point to (x, y) and keeps the point.
    virtual void Extender(int serie, double x, double y) = 0;
    // Uncovers the graph: the series are drawn in full once.
    virtual void Terminar() = 0;
};

// The live watch of a capture, without widgets: the set-up (snapshot, the samples taken
// so far, output signals, the series to grow), the poll of each tick ("10#") turned into
// one new point per series, the end of the capture, the final read-back and the
// reprogramming of continuous monitoring. What needs the unit is a conversation on the
// device service; the caller awaits it.
class TMonitor {
public:
    enum class TTick {
        Nada,      // nothing new
        Punto,     // a point was added to every series
        Terminada, // the capture ended
        Fallo,     // more than FallosMaximos polls in a row without answer
    };
    static constexpr int FallosMaximos = 3;
    static constexpr int MaxSenalesDibujadas = 8;
    static constexpr double AltoDigital = 5.0;

    TMonitor(TServicioSAD& sad, const TConfigES& config, TTextos& textos, TInteraccion& interaccion,
             IDibujoMonitor& dibujo, TEstadoSalidas& salidas);
    ~TMonitor();

    // The set-up of the watch (also after each reprogramming); answers the sample count
    // read, from which the series grow.
    TAsincrono<int> Preparar();
    // One poll; a reply whose progress is not new draws nothing.
    TAsincrono<TTick> Tick();
    // Continuous mode: the stored command again, then the set-up. False: not accepted.
    TAsincrono<bool> Reprogramar();
    // Watch mode after the end: the whole capture read back and drawn. False: nothing read.
    TAsincrono<bool> LecturaFinal();

    const TCjtSenales& Senales() const { return *senales_; }
    int UltimoIndice() const { return ultimoIndice_; }
    int NumSeries() const { return int(series_.size()); }

    // Signals to draw from a set: analog then digital, of the first one's period to the
    // microsecond, at most MaxSenalesDibujadas.
    static std::vector<const TSenal*> ElegirSenales(const TCjtSenales& senales);

private:
    enum class TTipoSerie { SalAna, EntAna, SalDig, EntDig };
    struct TSerie {
        TTipoSerie tipo;
        int canal;      // 1-based within its kind
        int indice;     // of the drawing
        double ultimo;  // start of the next segment
    };

    // The samples the unit holds so far (all of them once it has ended), with the output
    // signals of the whole capture; -1 when none came.
    TAsincrono<int> LeerConjunto(bool terminada);
    void DibujarElegidas(int n, bool enSeries);
    double Valor(const TSerie& s, int k) const;

    TServicioSAD& sad_;
    const TConfigES& config_;
    TTextos& textos_;
    TInteraccion& interaccion_;
    IDibujoMonitor& dibujo_;
    TEstadoSalidas& salidas_;

    std::unique_ptr<TCjtSenales> senales_;
    std::vector<TSerie> series_;
    double periodo_ = 0;
    int ultimoIndice_ = 0;
    double ultimoTiempo_ = 0;
    int ultimoProgreso_ = 0;
    int fallos_ = 0;
    std::array<std::int32_t, 10> ultimoValor_{};
};

} // namespace qv
