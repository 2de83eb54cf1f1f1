#pragma once

#include "lang/ui/formulario.h"

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace qv {

class TServicioSAD;

// The progress window of programming and read-back: a caption-less tool window with
// three centred texts, a clock or a computer picture and, while reading, a bar that
// follows the sample fields received. It lives while one conversation runs, shown
// modal to the whole program (Mostrar), and follows the device service's progress.
// Whoever runs the conversation may offer "Cancelar" (also Escape): the window then
// says that it is stopping and stays until its owner takes it away.
class TfrmEsperaAck : public TFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 13;
    // The button's caption (the shared "Cancelar") and the text shown once it was pressed.
    static constexpr int kTextoCancelar = 1;
    static constexpr int kTextoCancelando = 480;
    enum class TEstadoEspera { Ninguno, Esperando, Enviando, Hecho, Leyendo };

    explicit TfrmEsperaAck(const TContextoFormulario& contexto, QWidget* parent = nullptr);

    // Shows the window modal to the program, centred on its parent.
    void Mostrar();
    // Follows the progress of the conversations of `sad` while it lives.
    void Vigilar(TServicioSAD& sad);
    // Shows "Cancelar" (CancelarBtn); `cancelar` runs once, when it is pressed.
    void PonerCancelar(std::function<void()> cancelar);
    bool Cancelado() const { return cancelado_; }
    void Cancelar();

    void Esperando();
    void Enviando();
    void Hecho();
    void Leyendo();

    // Read-back progress: fields received of those expected (expected 0: not known yet).
    void PonerProgreso(qint64 recibidos, qint64 esperados);

    // Only the sequence that shows the window takes it away: Escape or a close
    // request would let the user start another command in the middle of this one.
    // They stand for "Cancelar" when it is offered.
    void reject() override;

protected:
    void TextosAplicados() override;
    void closeEvent(QCloseEvent* e) override;

private:
    void Poner(TEstadoEspera estado, int clave1, int clave2);

    TEstadoEspera estado_ = TEstadoEspera::Ninguno;
    QString textoHecho_;
    std::function<void()> cancelar_;
    bool cancelado_ = false;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* reloj;
    QLabel* compu;
    QProgressBar* Progreso;
    QPushButton* CancelarBtn;
};

} // namespace qv
