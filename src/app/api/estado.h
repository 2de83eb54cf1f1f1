#pragma once

#include "link/servicio_sad.h"
#include "model/config_es.h"
#include "model/fft.h"
#include "model/operaciones.h"
#include "model/senales.h"

#include <QObject>
#include <QString>
#include <memory>

namespace qv {

// The state every part of the program works on, owned by the main window for the whole
// run and handed to dialogs and windows by reference. No globals: whoever needs it gets
// it in its constructor. Whoever changes it does so through the setters and marking
// operations below, which say what changed; the main window, its command areas and
// the windows subscribe, so nobody calls the main window back.
class TEstadoPrograma : public QObject {
    Q_OBJECT
public:
    static inline const QString SinFicheroSenales = QStringLiteral("*.qvn");
    static inline const QString SinFicheroConfig = QStringLiteral("*.cfg");

    // Signals of the open file or of the last capture; none when nothing is open.
    TCjtSenales* Senales() const { return senales_.get(); }
    // Configuration the signals belong to; none means nothing open.
    TConfigES* Config() const { return config_.get(); }
    // Working copy for the configuration, capture and trigger dialogs; they copy it back
    // into the configuration when accepted. Theirs alone: changing it says nothing.
    TConfigES* Trabajo() const { return trabajo_.get(); }
    void PonerTrabajo(std::unique_ptr<TConfigES> config) { trabajo_ = std::move(config); }
    std::unique_ptr<TConfigES> TomarTrabajo() { return std::move(trabajo_); }
    // Operations that derive signals, recomputed after each read-back (none yet: null);
    // replaced through PonerOperaciones.
    TOperaciones* OperacionesSiHay() const { return operaciones_.get(); }
    // The device link on its own thread: created when the main window is first shown,
    // freed when it closes.
    TServicioSAD* Enlace() const { return enlace_.get(); }
    void PonerEnlace(std::unique_ptr<TServicioSAD> enlace) { enlace_ = std::move(enlace); }

    // The frequency filter's transform, kept for the whole run.
    TFFT FFT2;

    bool Cerrando = false;      // the main window is closing
    bool ModeloM = false;       // the unit is a ZD800M

    // File names of the file commands; "*.qvn" / "*.cfg" when none.
    QString FicheroAbierto = SinFicheroSenales;   // opened with "Abrir"
    QString FicheroGuardarComo = SinFicheroSenales; // last chosen with "Guardar como ..."
    QString FicheroConfig = SinFicheroConfig;     // the configuration dialogs' name

    // The set exists and holds at least one signal.
    bool HayConjunto() const { return senales_ && !senales_->Vacio(); }

    // The signal set has unsaved changes (MarcarModificado, MarcarGuardado).
    bool Modificado() const { return modificado_; }
    // Continuous monitoring is running: every capture's end programs the next.
    bool Monitorizando() const { return monitorizando_; }
    void PonerMonitorizando(bool on);
    // The operations, created empty when there are none yet; replaced (nullptr: none).
    TOperaciones& Operaciones();
    void PonerOperaciones(std::unique_ptr<TOperaciones> operaciones);

    // This station reaches its unit through the relay; it holds that unit now.
    bool Multipuesto() const { return multipuesto_; }
    bool UnidadTomada() const { return unidadTomada_; }
    void PonerMultipuesto(bool multipuesto);
    void PonerUnidadTomada(bool tomada);

    // A command is talking to the unit: the commands that would start another
    // conversation are off until it ends. Nested: each command marks and unmarks.
    bool Ocupado() const { return ocupado_ > 0; }
    void PonerOcupado(bool ocupado);

    // The set or the configuration replaced (nullptr: closed). `fichero` is the signal file
    // the new set is and becomes the open file name; none: a new set, saved only under a
    // name the user gives, never over the file that held the old one.
    void PonerConjunto(std::unique_ptr<TCjtSenales> senales, QString fichero = SinFicheroSenales);
    // The set itself, to be given back extended through PonerConjunto.
    std::unique_ptr<TCjtSenales> TomarConjunto() { return std::move(senales_); }
    void PonerConfig(std::unique_ptr<TConfigES> config);
    // Signals the set has lost, or one it has renamed: every window showing them follows.
    void AvisarQuitadas(const QStringList& nombres);
    void AvisarRenombrada(const QString& anterior, const QString& nuevo);
    // The set, the configuration and the operations freed without a word: the run's
    // start and end, with nobody left to tell.
    void Vaciar();
    // Something no setter names changed (Cambiado alone): a set edited in place.
    void Notificar();
    // The set or what is shown of it changed and is not saved yet; saved.
    void MarcarModificado();
    void MarcarGuardado();

Q_SIGNALS:
    // Every change; the specific ones below come with it.
    void Cambiado();
    void ConjuntoSustituido();
    void ConfigCambiada();
    void SenalesQuitadas(const QStringList& nombres);
    void SenalRenombrada(const QString& anterior, const QString& nuevo);
    void PuestoCambiado(bool multipuesto, bool unidadTomada);
    void OcupadoCambiado(bool ocupado);
    void ModificadoCambiado(bool modificado);
    void MonitorizacionCambiada(bool monitorizando);
    void OperacionesCambiadas();

private:
    // A flag set (its signal when it changes) and Cambiado.
    void Cambiar(bool& flag, bool valor, void (TEstadoPrograma::*senal)(bool));

    std::unique_ptr<TCjtSenales> senales_;
    std::unique_ptr<TConfigES> config_;
    std::unique_ptr<TConfigES> trabajo_;
    std::unique_ptr<TOperaciones> operaciones_;
    std::unique_ptr<TServicioSAD> enlace_;
    int ocupado_ = 0;
    bool modificado_ = false;
    bool monitorizando_ = false;
    bool multipuesto_ = false;
    bool unidadTomada_ = false;
};

} // namespace qv
