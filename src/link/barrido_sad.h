#pragma once

#include "link/secuencia_captura.h"
#include "link/servicio_sad.h"
#include "model/barrido.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace qv {

class TComCapvis;
class TReloj;
class TTextos;

// The samples of one point's capture, for whoever wants to see them.
struct TCapturaPunto {
    std::vector<float> Referencia, Respuesta, Salida; // volts
    double Periodo = 0;  // s
    int Desde = 0;       // first sample of the analysed record
    int Medidas = 0;     // its samples
    double Frecuencia = 0;
};

// One point of a frequency sweep as a step object: one capture (state, programming,
// wait, read-back: TSecuenciaCaptura), then the gain and phase of its record. The unit's
// capture state is a question for the caller only on the sweep's first point; later
// points replace the capture they find (the previous point's). Cancelar stops at the
// next step as the capture sequence does (a running capture is aborted, a read-back
// drained) and then sets every output to zero, unless the only thing done was to leave
// alone a capture the unit held before the sweep.
//
// Avance() counts milliseconds of the point's expected time: `recibidos` done of
// `esperados`, the capture's duration while it runs, then the read-back's bytes.
class TPuntoSAD : public TConversacion {
public:
    TPuntoSAD(const TAjustesBarrido& ajustes, const TPuntoPlan& plan, TTextos& textos, QString carpetaPrograma,
              bool preguntarEstado);
    ~TPuntoSAD() override;

    TPaso Paso(TComCapvis& com) override;
    int EsperaSugerida() const override;
    void Responder(int respuesta) override;
    void Cancelar() override;
    int ClaveFallo() const override { return clave_; }
    TAvance Avance() const override;

    // The unit's state when it was a question (Decidir).
    int EstadoUnidad() const { return secuencia_.EstadoUnidad(); }
    const TPuntoPlan& Plan() const { return plan_; }
    // Once Terminada.
    const TPuntoBarrido& Punto() const { return punto_; }
    const TCapturaPunto& Captura() const { return captura_; }

private:
    enum class TFase { Captura, Ceros, Hecha };
    void Medir();

    TAjustesBarrido ajustes_;
    TPuntoPlan plan_;
    TConfigES config_;
    TSecuenciaCaptura secuencia_;
    bool preguntar_;
    bool cancelar_ = false;
    bool programado_ = false; // this point's capture went to the unit
    TFase fase_ = TFase::Captura;
    TPaso final_ = TPaso::Sigue;
    int clave_ = 0;
    TPuntoBarrido punto_;
    TCapturaPunto captura_;
};

// A conversation run to its end on the calling thread, sleeping on the link's clock in
// between (the companion, tests). At Decidir `decidir` gives the answer (none: cancel);
// `cadaPaso` runs after every step (a progress line).
TConversacion::TPaso HablarAqui(TConversacion& c, TComCapvis& com, const std::function<int()>& decidir = {},
                                const std::function<void()>& cadaPaso = {});

// A whole sweep: its plan, the points measured so far, and the time it is expected to
// take. Each point's step object comes from Siguiente and goes back to Anotar.
class TBarridoSAD {
public:
    TBarridoSAD(TAjustesBarrido ajustes, TTextos& textos, QString carpetaPrograma);

    const TAjustesBarrido& Ajustes() const { return resultado_.Ajustes; }
    const TPlanBarrido& Plan() const { return plan_; }
    const TResultadoBarrido& Resultado() const { return resultado_; }
    int Total() const { return int(plan_.Puntos.size()); }
    int Hechos() const { return int(resultado_.Puntos.size()); }
    bool Terminado() const { return Hechos() >= Total(); }

    // The next point's step object; null when every point is done.
    std::shared_ptr<TPuntoSAD> Siguiente();
    // A point ended (Terminada) after `segundos` of wall time.
    void Anotar(const TPuntoSAD& punto, double segundos);

    // Seconds still to go when `fraccion` of the running point is done, the estimates
    // scaled by how the points done so far compared with theirs.
    double SegundosRestantes(double fraccion) const;

private:
    TTextos& textos_;
    QString carpeta_;
    TPlanBarrido plan_;
    TResultadoBarrido resultado_;
    double estimados_ = 0; // estimated seconds of the points done
    double medidos_ = 0;   // and what they took
};

} // namespace qv
