#pragma once

#include "lang/interaccion.h"
#include "lang/ui/formulario.h"
#include "lang/ui/mensaje.h"

#include <QPointer>
#include <QWidget>

namespace qv {

// The program's interaction seam: the message box, the name-clash and presence
// dialogs, all run through the modal seam.
class TInteraccionQt : public TInteraccion {
public:
    TInteraccionQt(TTextos& textos, TModal& modal, QWidget* padre = nullptr);
    ~TInteraccionQt() override;

    // The context of the dialogs it shows: its texts and modal seam, itself as their
    // interaction.
    const TContextoFormulario& Contexto() const { return contexto_; }

    // The owner the dialogs centre on (the main window, once it exists).
    void setPadre(QWidget* padre) { padre_ = padre; }

    // Only one message box at a time: a request while one is open shows nothing and
    // answers Respuesta::Cancelar, the answer that every caller takes as "do nothing".
    int MostrarError(const QString& texto, int botones) override;
    int MostrarAviso(const QString& texto, int botones) override;
    int MostrarPregunta(const QString& texto, int botones) override;
    int MostrarInformacion(const QString& texto, int botones) override;

    void MensajePlano(const QString& texto) override;
    QString PedirNombreNuevo(const QString& nombre) override;
    int PreguntarPresencia() override;
    // Nested: each true needs its false; the cursor returns after the outermost one.
    void CursorOcupado(bool ocupado) override;

    bool MensajeAbierto() const { return abierto_; }

private:
    int Mostrar(TfrmMensaje::TSabor sabor, const QString& texto, int botones);
    QWidget* Padre() const;

    TContextoFormulario contexto_;
    QPointer<QWidget> padre_;
    bool abierto_ = false;
    int ocupado_ = 0;
};

} // namespace qv
