#pragma once

#include "channels/nombre_canal.h"
#include "lang/ui/formulario.h"

#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

class IPrincipal;
class TConfigES;
class TDialogoGenerador;
class TGenerador;
enum class TClaseGenerador;

// The window of one output of the working configuration: its name and its generator.
// A generator button opens that kind's dialog in place of this window; when the
// dialog is accepted both are done, when it is cancelled this window comes back.
// The window ends accepted ("Aceptar" with a generator, a generator dialog accepted,
// or the delete button) or not ("Cancelar", the title bar). The typed name is stored
// only when the window ends accepted with the output holding a generator.
class TVentanaSalida : public TFormulario {
    Q_OBJECT
public:
    // Runs the window (and the generator dialogs it opens) modally; answers the
    // accepted flag.
    bool Activar();
    bool Aceptado() const { return aceptado_; }

    // Whether the name in Edit1 may be given to the output (texts 110, 175, 158, 176).
    bool BuenNombre();
    // "Eliminar generador": refused with text 108 while the output is active; the
    // window ends accepted either way.
    void DestroyButtonClick();

protected:
    struct TBotonGenerador {
        const char* nombre;
        const char* texto;
        TClaseGenerador clase;
    };
    TVentanaSalida(IPrincipal& principal, TConfigES& trabajo, TCanal canal, int formulario, int ayuda,
                   const char* nombre, const char* nombreEtiqueta, const QString& etiqueta,
                   const std::vector<TBotonGenerador>& botones, TClaseGenerador porDefecto, QWidget* parent);

    virtual std::unique_ptr<TDialogoGenerador> CrearDialogo(TClaseGenerador clase, QWidget* padre) = 0;

    // "Aceptar": text 109 without generator, then the name check.
    bool Validar() override;
    void AlMostrar() override;

    IPrincipal& principal_;
    TConfigES& trabajo_;
    const TCanal canal_;

    QLineEdit* Edit1;
    QPushButton* DestroyButton;

private:
    const TGenerador* Generador() const;
    bool Activo() const;
    void QuitarGenerador();
    void GeneradorClick(TClaseGenerador clase);
    void MarcarBotones();

    std::vector<std::pair<QPushButton*, TClaseGenerador>> botones_;
    TClaseGenerador porDefecto_;
    std::optional<TClaseGenerador> pedido_;
    bool aceptado_ = false;
};

// "Activación de Salida Analogica": analog output 1..4 with a step, sine, ramp or
// analog table generator.
class TfrmActiveSA : public TVentanaSalida {
    Q_OBJECT
public:
    static constexpr int Numero = 8;
    TfrmActiveSA(IPrincipal& principal, TConfigES& trabajo, int indice, QWidget* parent = nullptr);

protected:
    std::unique_ptr<TDialogoGenerador> CrearDialogo(TClaseGenerador clase, QWidget* padre) override;
};

// "Activación de Salida Dgital": digital output 1..16 with a digital table, pulse train
// or pulse generator.
class TfrmActiveSD : public TVentanaSalida {
    Q_OBJECT
public:
    static constexpr int Numero = 9;
    TfrmActiveSD(IPrincipal& principal, TConfigES& trabajo, int indice, QWidget* parent = nullptr);

protected:
    std::unique_ptr<TDialogoGenerador> CrearDialogo(TClaseGenerador clase, QWidget* padre) override;
};

} // namespace qv
