#pragma once

#include "lang/ui/formulario.h"
#include "model/servicio_decodificacion.h"

#include <QStringList>

#include <vector>

class QComboBox;
class QFormLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace qv {

// "Decodificar..." of the digital window (frmDecodificar): the window's decodings, one at a
// time in CBDecodificacion (its last item a new one). For the one shown: the decoder
// (CBDecodificador, those of the library that read samples), a signal of the window on each
// of its channels (CBCanal_<id>, "(sin asignar)" first), its options as the library lists
// them (CBOpcion_<id> where it names the values, EdOpcion_<id> otherwise), a decoder stacked
// on it (CBApilado) and that one's options (CBOpcionApilado_<id>, EdOpcionApilado_<id>).
// BtnQuitar drops the decoding shown. Every box has its label (L + its name) for a buddy.
class TfrmDecodificar : public TFormulario {
    Q_OBJECT
public:
    TfrmDecodificar(const TContextoFormulario& contexto, TCatalogoCompartido catalogo, QWidget* parent = nullptr);

    // The decodings to edit and the signals their channels may take.
    void Inicializar(std::vector<TDecodificacion> lista, const QStringList& senales);
    // After "Aceptar": the window's decodings as they are to be.
    const std::vector<TDecodificacion>& Decodificaciones() const { return lista_; }

protected:
    bool Validar() override;
    void TextosAplicados() override;

private:
    struct TEditor {
        QString id;
        QLabel* rotulo = nullptr;
        QComboBox* lista = nullptr; // values the library names
        QLineEdit* caja = nullptr;  // any value of its kind
        const TOpcionDecodificador* opcion = nullptr;
    };

    void LlenarDecodificaciones(int actual);
    void MostrarDecodificacion(int indice);
    void DecodificadorElegido();
    void ApiladoElegido();
    // Options of one decoder into a form, with `prefijo` in the object names.
    std::vector<TEditor> CrearOpciones(QFormLayout& forma, QWidget& padre, const TInfoDecodificador& info,
                                       const std::vector<TAjusteDecod>& valores, const char* prefijo);
    static void Vaciar(QFormLayout& forma, std::vector<TEditor>& editores);
    // What the controls say of the decoding shown.
    TDecodificacion Leida() const;
    static std::vector<TAjusteDecod> Valores(const std::vector<TEditor>& editores);
    void Guardar();
    void Quitar();
    // The checks of one decoding: its failure and the box to mend (its object name).
    TFalloDecod Comprobar(const TDecodificacion& d, QString& caja) const;

    TCatalogoCompartido catalogo_;
    std::vector<TDecodificacion> lista_;
    TDecodificacion nueva_;
    QStringList senales_;
    int actual_ = -1; // decoding shown: an index of lista_, or lista_.size() for the new one
    bool llenando_ = false;

    QLabel* LDecodificacion;
    QComboBox* CBDecodificacion;
    QPushButton* BtnQuitar;
    QLabel* LDecodificador;
    QComboBox* CBDecodificador;
    QGroupBox* GBCanales;
    QFormLayout* formaCanales_;
    std::vector<TEditor> canales_;
    QGroupBox* GBOpciones;
    QFormLayout* formaOpciones_;
    std::vector<TEditor> opciones_;
    QLabel* LApilado;
    QComboBox* CBApilado;
    QGroupBox* GBOpcionesApilado;
    QFormLayout* formaApilado_;
    std::vector<TEditor> opcionesApilado_;
};

} // namespace qv
