#pragma once

#include "lang/ui/formulario.h"

#include <QString>
#include <QStringList>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace qv {

class IPrincipal;
class TConfigES;
class TSenal;
class TTextos;

// Texts of the panels of "Datos de señales de la captación", apart from the dialog.

// A statistic: rounded to 3 significant digits, then written with 2 decimals.
QString TextoEstadistica(double valor);
// "Tiempo muestreo": seconds from 0.99 s (no blank before the word), milliseconds from
// 9.9e-5 s, microseconds from 9.9e-7 s, else the number alone; 4 significant digits.
QString TextoTiempoMuestreo(TTextos& textos, double periodo);
// "Tiempo análisis" of a signal lasting `duracion` seconds: seconds above 1 s,
// milliseconds above 1 ms, microseconds above 1 us; shorter ones (one sample lasts 0)
// in the unit of the sampling time.
QString TextoTiempoAnalisis(TTextos& textos, double duracion, double periodo);

// How a signal was made: the kind line, the lines under it and the picture beside
// them ("seno", "rampa", "escalon", "tabla", "pulso", "tren", "opana", "opdig",
// "calculo", "cruz"). `config` names the channels of operands; without one they are
// named by the default configuration.
struct TOrigenSenal {
    QString tipo;
    QStringList lineas;
    QString dibujo;
};
TOrigenSenal DescribirOrigen(TTextos& textos, const TSenal& senal, const TConfigES* config);

// "Datos de señales de la captación": statistics, time data and origin of each signal
// of a window, and renames. Renames change the set at once; the caller hands them to
// every window (NombresViejos()[i] became NombresNuevos()[i], in that order).
class TfrmDatosSenal : public TFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 3;

    explicit TfrmDatosSenal(IPrincipal& principal, QWidget* parent = nullptr);

    // The names offered (a window's shown signals); the first is selected.
    void Inicializar(const QStringList& nombres);

    // Fills the panels for the name at `indice`; text 3058 when the set lacks it.
    void ComboBox1Change(int indice);
    // "Renombrar": asks the new name and renames the selected signal in the set.
    void spBtnPasarClick();

    const QStringList& NombresViejos() const { return nombresViejos_; }
    const QStringList& NombresNuevos() const { return nombresNuevos_; }
    bool Cambiado() const { return cambiado_; }

    // Runs the dialog on `nombres` and, when it renamed signals, renames them in every
    // window (TEstadoPrograma::AvisarRenombrada) and marks the set modified. What the
    // signal windows' "Datos" runs.
    static void Mostrar(IPrincipal& principal, const QStringList& nombres);

private:
    void LlenarPaneles(const TSenal* senal);
    void Vaciar();

    IPrincipal& principal_;
    QStringList nombresViejos_;
    QStringList nombresNuevos_;
    bool cambiado_ = false;
    bool seleccionando_ = false;

    QLabel* LSenal;
    QComboBox* ComboBox1;
    QPushButton* spBtnPasar;
    QGroupBox* GBEstadistica;
    QLabel* LTipoSenal;
    QLabel* LMaximo;
    QLabel* LMinimo;
    QLabel* LMedio;
    QLabel* LIntegral;
    QLabel* LSubidas;
    QLabel* LBajadas;
    QLabel* LRMaximo;
    QLabel* LRMinimo;
    QLabel* LRMedio;
    QLabel* LRIntegral;
    QLabel* LRSubidas;
    QLabel* LRBajadas;
    QGroupBox* GBTiempos;
    QLabel* LTiempoMuestreo;
    QLabel* LNumeroPuntos;
    QLabel* LTiempoAnalisis;
    QLabel* LRTiempoMuestreo;
    QLabel* LRNumeroPuntos;
    QLabel* LRTiempoAnalisis;
    QGroupBox* GBOrigen;
    QLabel* LOrigen;
    QLabel* LOrigenDatos;
    QLabel* IOrigen;
};

} // namespace qv
