#pragma once

#include "lang/ui/formulario.h"

#include <QStringList>

#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace qv {

class TAxis;
class TGrf;

// "-Configuracion de la grafica": the options of a signal window's graph. Every change
// is applied to the graph at once; "Aceptar" only closes the dialog, and nothing is
// undone.
class TfrmConfig : public TFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 12;
    static constexpr int ContextoAyuda = 168;

    explicit TfrmConfig(const TContextoFormulario& contexto, QWidget* parent = nullptr);

    // The window's graph, its backing graph (shown while the graph changes) and the names
    // of the shown signals: series 0 to n - 1 are the ones changed.
    void Configurar(TGrf& grafica, TGrf& atras, const QStringList& nombres);

private:
    struct TCajasEje {
        QCheckBox* escalado;
        QLineEdit* min;
        QLineEdit* max;
        QLineEdit* paso;
        QCheckBox* rejilla;
    };

    QGroupBox* CrearEje(const char* grupo, const QString& titulo, const char* escalado, const char* min,
                        const char* rotuloMin, const char* max, const char* rotuloMax, const char* paso,
                        const char* rotuloPaso, const char* rejilla, TCajasEje& cajas);
    void Conectar(TCajasEje& cajas, bool ejeX);
    TAxis& Eje(bool ejeX) const;
    void Rellenar(const TCajasEje& cajas, const TAxis& eje);
    // Shows the backing graph and stops drawing while `cambio` runs.
    void Redibujo(const std::function<void()>& cambio);

    void EscaladoClick(bool ejeX);
    void MinChange(bool ejeX);
    void MaxChange(bool ejeX);
    void PasoChange(bool ejeX);
    void EstiloClick(bool lineas, bool puntos);
    void TamanoChange(int tamano);
    // Replaces the text of a box that does not convert (once: a replacement that does
    // not convert either is left as it is).
    void Reemplazar(QLineEdit* caja, const QString& texto);

    TGrf* grafica_ = nullptr;
    TGrf* atras_ = nullptr;
    QStringList nombres_;
    bool actualizando_ = false;
    bool reemplazando_ = false;

    TCajasEje x_{}, y_{};
    QRadioButton* rBtnLineas;
    QRadioButton* rBtnPuntos;
    QRadioButton* rBtnLineasYPuntos;
    QSpinBox* spnEditSizePuntos;
    QCheckBox* chkBoxMismaEscala; // XY plots: equal units per pixel on both axes
};

} // namespace qv
