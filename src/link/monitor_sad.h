#pragma once

#include "link/lectura_datos.h"
#include "link/servicio_sad.h"
#include "model/config_es.h"

#include <QString>

#include <array>
#include <memory>

namespace qv {

class TCjtSenales;
class TTextos;

// Which outputs play during a monitored capture: kept by the monitoring window and
// changed by the output switching dialog.
struct TEstadoSalidas {
    static inline const QString NoHay = QStringLiteral("NoHay");
    std::array<bool, 16> Dig{};  // digital outputs 1..16 switched on
    std::array<bool, 4> Ana{};   // analog outputs 1..4
    std::array<QString, 16> NombreDig;
    std::array<QString, 4> NombreAna;

    // Every active output on, with its name; every inactive one "NoHay".
    static TEstadoSalidas Desde(const TConfigES& config);
};

// Body of commands 12 and 13 for the outputs flagged: the number of groups listed, then
// "u," with the count and bit numbers of outputs 1 to 8, "v," likewise for 9 to 16, and
// "w,", "x,", "y,", "z," for the analog outputs; no final comma. Empty when none.
QString CuerpoSalidas(const std::array<bool, 16>& dig, const std::array<bool, 4>& ana);

// The samples a running capture holds so far (or, once it has ended, all of them),
// read back into a set of its own: the read-back of the live watch. It takes the
// layout of the capture from the configuration first, so its polls follow it, and
// leaves the unit's progress at the samples read. Cancelling drains the reply.
class TLecturaMonitor : public TConversacion {
public:
    TLecturaMonitor(TConfigES config, TTextos& textos, bool terminada);
    ~TLecturaMonitor() override;

    TPaso Paso(TComCapvis& com) override;
    int EsperaSugerida() const override;
    void Cancelar() override;
    TAvance Avance() const override;

    // Once ended: the samples read (-1: none came) and the signals, named as configured.
    int Muestras() const { return muestras_; }
    std::unique_ptr<TCjtSenales> TomarSenales();

private:
    TConfigES config_;
    TTextos& textos_;
    bool terminada_;
    bool cancelar_ = false;
    std::unique_ptr<TLecturaDatos> lectura_;
    std::unique_ptr<TCjtSenales> senales_;
    int muestras_ = -1;
};

// One exchange of the live watch: the poll of each tick ("10#", and "2#" when it
// answers no sample, which only the state tells from the start of a capture), the
// stored command again for continuous monitoring, or switching outputs on and off.
class TOrdenMonitor : public TConversacion {
public:
    // The poll; `ultimo` is the progress drawn so far, which a capture that has not
    // started yet keeps.
    static std::shared_ptr<TOrdenMonitor> Sondear(int ultimo);
    static std::shared_ptr<TOrdenMonitor> Reprogramar(TConfigES config);
    // Commands 12 (encender) and 13 (apagar) for the bodies that are not empty, in that
    // order; the second is not sent when the first failed.
    static std::shared_ptr<TOrdenMonitor> Conmutar(QString encender, QString apagar);

    TPaso Paso(TComCapvis& com) override;
    int ClaveFallo() const override { return clave_; }

    // The poll's answer: whether it came, the unit's progress, and whether a progress
    // of 0 belongs to a capture still to start.
    bool Respondio() const { return respondio_; }
    int Progreso() const { return progreso_; }
    bool EnMarcha() const { return enMarcha_; }
    const std::array<std::int32_t, 10>& UltimoValor() const { return ultimoValor_; }

private:
    enum class TTipo { Sondear, Reprogramar, Conmutar };
    explicit TOrdenMonitor(TTipo tipo) : tipo_(tipo) {}

    TTipo tipo_;
    int ultimo_ = 0;
    TConfigES config_;
    QString encender_;
    QString apagar_;
    int clave_ = 0;
    bool respondio_ = false;
    int progreso_ = 0;
    bool enMarcha_ = false;
    std::array<std::int32_t, 10> ultimoValor_{};
};

} // namespace qv
