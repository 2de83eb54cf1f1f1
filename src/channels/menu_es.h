#pragma once

#include "lang/ui/formulario.h"
#include "model/base_tiempos.h"

#include <QIcon>
#include <QString>
#include <array>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QWidget;

namespace qv {

class IPrincipal;
class TConfigES;
struct TEntSal;

// Global channel numbers of the configuration windows and their sub-windows.
namespace CanalES {
inline constexpr int EntDig = 0;  // 1..16 digital inputs
inline constexpr int SalDig = 16; // 17..32 digital outputs
inline constexpr int EntAna = 32; // 33..40 analog inputs
inline constexpr int SalAna = 40; // 41..44 analog outputs
inline constexpr int Total = 44;
} // namespace CanalES

// The channel of a configuration by global number (1..44).
TEntSal& CanalGlobal(TConfigES& config, int canal);
const TEntSal& CanalGlobal(const TConfigES& config, int canal);

// Object names of a channel's button and check box ("entdig3", "CheckBoxED3",
// "Saldig1", "saldig2" ... "saldig16", "EntAna1", "CheckBox1", "SalAna1", "CheckBox9").
QString NombreBotonCanal(int canal);
QString NombreCheckCanal(int canal);

// The input/output configuration window, common to both unit models: it edits the
// working configuration (Trabajo) and, when accepted, makes a copy of it the
// current one. The two variants only lay their channel controls out differently; the
// ZD800M one has no controls for digital lines 9 to 16, which keep their state.
class TMenuESBase : public TFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 2;
    static constexpr int NumeroAyuda = 8;
    static constexpr int AnchoNombreCanal = 60; // pixels of a channel's name under its button

    // Icon of the output's generator kind on its button ("Escalon", "Rampa", "Tabla",
    // "Seno" for analog outputs; "Pulso", "Tren", "Tabla" for digital ones; empty: no
    // generator). `canal` is the global number; other kinds change nothing.
    void MostrarGenerador(int canal, const QString& tipo);
    // The channel's button shows its present name as its hint.
    void ActualizarHint(int canal);

    // The channel the last button or check box worked on (global number), 0 before.
    int CanalActual() const { return canalActual_; }

    // Handlers of the window's controls.
    void BotonCanalClick(int canal);
    void CheckCanalClick(int canal);
    void DiferencialClick(int par); // 1..4: C, D, E, F
    void SpBtnRapidaClick();
    void ClearBtnClick();
    void SBOpAnalogicoClick();
    void SBOpDigitalClick();
    void CBoxAutoClick();
    void CBoxActivarClick();

protected:
    TMenuESBase(IPrincipal& principal, const char* nombre, QWidget* parent);

    // Channel controls, created by the variants while they lay out their panels.
    QToolButton* CrearBotonCanal(int canal, QWidget* padre);
    QCheckBox* CrearCheckCanal(int canal, const QString& texto, QWidget* padre);
    // The channel's name in small type, under its button (full in its tooltip).
    QLabel* CrearNombreCanal(int canal, QWidget* padre);
    QCheckBox* CrearDiferencial(int par, QWidget* padre);
    // Puts the channel panels above the time base and the buttons; called once by
    // each variant's constructor.
    void Montar(QWidget* paneles);

    bool Validar() override;
    void AlMostrar() override;
    void TextosAplicados() override;

    IPrincipal& principal_;

private:
    TConfigES& Trabajo();
    void Rellenar();             // every control from the working configuration
    void AplicarReglaPares();
    void TrasCambioCanales();    // fast mode or sample recount
    void LeerPanel();            // boxes -> panel_
    void MostrarPanel();         // panel_ -> boxes
    void Recalcular();           // a time box or unit box left or changed
    void CambioUnidadMuestreo(int indice);
    void CambioUnidadAnalisis(int indice);
    // The analog or digital operations dialog on the program's operations.
    template <class Dialogo>
    void EditarOperaciones();
    void RellenarUnidades();

    TPanelTiempos panel_;
    bool actualizando_ = false;
    int canalActual_ = 0;

    std::array<QToolButton*, CanalES::Total + 1> boton_{};
    std::array<QCheckBox*, CanalES::Total + 1> check_{};
    std::array<QLabel*, CanalES::Total + 1> nombre_{};
    std::array<QCheckBox*, 5> diferencial_{};

    // Hidden buttons that only hold the icons copied onto the channel buttons.
    QToolButton* spbtnPulso;
    QToolButton* spbtnTren;
    QToolButton* spbtnNada;
    QToolButton* spbtnSeno;
    QToolButton* spbtnRampa;
    QToolButton* spbtnEscalon;
    QToolButton* spbtnTabla;
    QToolButton* SpBtnDesactivar;
    QIcon iconoNombre_;

    QLabel* Label40;
    QLabel* Label41;
    QLabel* Label1;
    QLineEdit* tMuesEdit;
    QComboBox* tMuesComboBox;
    QLineEdit* tAnaEdit;
    QComboBox* tAnaComboBox;
    QLineEdit* MuestrasEdit;
    QPushButton* SpBtnRapida;
    QLabel* LabelAviso;
    QLabel* LabelNum;
    QCheckBox* CBoxAuto;
    QCheckBox* CBoxActivar;
    QPushButton* SBOpAnalogico;
    QPushButton* SBOpDigital;
    QPushButton* ClearBtn;
};

// "Configuración de E/S - ZD801": all 44 channels, in the ports' panels A, B, C to F,
// W, X, Y and Z with their rotated titles. Placed 77 pixels below the main window's top.
class TfrmMenuES : public TMenuESBase {
    Q_OBJECT
public:
    explicit TfrmMenuES(IPrincipal& principal, QWidget* parent = nullptr);

protected:
    void AlMostrar() override;
};

// "Entradas/Salidas ZD800-M": digital lines 1 to 8 only, on one panel.
class TfrmMenuES2 : public TMenuESBase {
    Q_OBJECT
public:
    explicit TfrmMenuES2(IPrincipal& principal, QWidget* parent = nullptr);

protected:
    void TextosAplicados() override;

private:
    std::array<QLabel*, 4> columnas_{};
};

// The variant of the unit model the state names (ModeloM).
std::unique_ptr<TMenuESBase> CrearMenuES(IPrincipal& principal, QWidget* parent);

} // namespace qv
