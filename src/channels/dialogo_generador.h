#pragma once

#include "channels/dibujo_onda.h"
#include "lang/ui/formulario.h"

#include <QString>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

class IPrincipal;
class TConfigES;
class TGenAnalogico;
class TGenDigital;
class TGenerador;
enum class TClaseGenerador;

// What the seven generator dialogs share: the output they work on (one output of the
// working configuration, by index), the delay box with its unit box, "Limpiar", the
// waveform picture with its legend, and the checks and conversions of "Aceptar".
// "Aceptar" builds the generator and hangs it on the output, replacing the one it had;
// a check that fails leaves the output as it was.
class TDialogoGenerador : public TFormulario {
    Q_OBJECT
public:
    // Kind name of the generator the last "Aceptar" stored ("Seno", "Tabla", ...),
    // empty while none was.
    QString TipoGuardado() const { return tipoGuardado_; }

    // "Limpiar": empties every box and puts the focus on the delay box.
    void ClearBtnClick();

protected:
    struct TDatos {
        int formulario;
        int ayuda;
        const char* nombre;        // object name of the dialog
        const char* nombreRetardo; // object name of the delay box
        TDibujoOnda::TForma forma;
        bool analogica;
        bool limpiar; // has a "Limpiar" button
    };
    TDialogoGenerador(IPrincipal& principal, TConfigES& trabajo, int salida, const TDatos& datos,
                      QWidget* parent);

    // The output's present generator when it is of that class, else null.
    const TGenerador* GeneradorDeClase(TClaseGenerador clase) const;
    // One of a generator's own numbers by its field name (0 when it has none of that name).
    static float Parametro(const TGenerador& g, const char* nombre);

    // Shows the stored delay as an integer in its stored unit; `unidadNueva` is the
    // unit item of a dialog that opens without a generator of its class.
    void MostrarRetardo(const TGenerador* g, int unidadNueva);
    // Index of the unit box <-> the unit word handed to a generator's constructor.
    QString PalabraUnidad(const QComboBox& unidad) const;
    // A value in the unit of the box, in seconds.
    static float Segundos(double valor, const QComboBox& unidad);

    // Boxes that "Limpiar" empties (the delay box is always among them).
    void Vaciables(std::initializer_list<QLineEdit*> cajas);

    // Checks of "Aceptar", each ending with its warning and the focus on a box.
    bool Aviso(int texto, QWidget* foco);
    bool AlgunaVacia(std::initializer_list<const QLineEdit*> cajas) const;
    std::optional<long long> Entero(QLineEdit& caja);
    std::optional<double> Real(QLineEdit& caja);
    std::optional<float> Float(QLineEdit& caja);
    // The delay as a whole number of its unit (text 133 above 65535), in seconds.
    std::optional<float> RetardoEntero();
    // The levels against the output's range, which the unit clips: a ramp or a step
    // beyond it is a level it cannot play and is refused (text 214 naming the range); a
    // sine or a table keeps its shape within the range, so the user may accept it
    // clipped. False leaves the focus on `foco`.
    bool NivelesEnSalida(const TGenAnalogico& g, bool recortable, QWidget* foco);

    // Replaces the output's generator.
    void Guardar(std::unique_ptr<TGenAnalogico> g);
    void Guardar(std::unique_ptr<TGenDigital> g);
    void QuitarGenerador();

    // One row of the fields' grid: caption, box, a unit caption and a unit box.
    void Fila(int fila, QLabel* etiqueta, QLineEdit* caja, QWidget* unidad = nullptr, QWidget* combo = nullptr);

    // Lays the dialog out: the fields' grid on the left, the picture with its legend
    // (language texts `leyenda`) on the right, the buttons below.
    void Montar(std::initializer_list<int> leyenda);
    // A caption over the picture, or a note under the fields, placed by Montar.
    void PonerTituloImagen(QLabel* titulo) { tituloImagen_ = titulo; }
    void PonerNota(QLabel* nota) { nota_ = nota; }
    void TextosAplicados() override;

    IPrincipal& principal_;
    TConfigES& trabajo_;
    const int salida_;
    const bool analogica_;

    QGridLayout* Campos;
    QLineEdit* RetardoEdit;
    QComboBox* UnidadTEdit;
    QPushButton* ClearBtn = nullptr;
    TDibujoOnda* Imagen;

private:
    std::vector<QLineEdit*> vaciables_;
    QLabel* tituloImagen_ = nullptr;
    QLabel* nota_ = nullptr;
    std::vector<std::pair<QLabel*, int>> leyenda_;
    QString tipoGuardado_;
};

// The largest delay, in any unit.
inline constexpr int RetardoMaximo = 65535;

} // namespace qv
