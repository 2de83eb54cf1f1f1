#include "lang/ui/interaccion_qt.h"

#include "lang/ui/cambiar_nombre.h"
#include "lang/ui/conexion.h"
#include "lang/ui/mensaje_plano.h"

#include <QApplication>

namespace qv {

TInteraccionQt::TInteraccionQt(TTextos& textos, TModal& modal, QWidget* padre)
    : contexto_{textos, *this, modal, nullptr}
    , padre_(padre)
{
}

TInteraccionQt::~TInteraccionQt()
{
    // A busy cursor left by an interrupted operation must not outlive its owner.
    while (ocupado_ > 0) {
        --ocupado_;
        QApplication::restoreOverrideCursor();
    }
}

QWidget* TInteraccionQt::Padre() const
{
    if (padre_)
        return padre_.data();
    return QApplication::activeWindow();
}

int TInteraccionQt::Mostrar(TfrmMensaje::TSabor sabor, const QString& texto, int botones)
{
    if (abierto_)
        return Respuesta::Cancelar;
    abierto_ = true;
    struct Cierre {
        bool& abierto;
        ~Cierre() { abierto = false; }
    } cierre{abierto_};

    TfrmMensaje caja(contexto_, Padre());
    caja.Preparar(sabor, texto, botones);
    return caja.Ejecutar();
}

int TInteraccionQt::MostrarError(const QString& texto, int botones)
{
    return Mostrar(TfrmMensaje::TSabor::Error, texto, botones);
}

int TInteraccionQt::MostrarAviso(const QString& texto, int botones)
{
    return Mostrar(TfrmMensaje::TSabor::Aviso, texto, botones);
}

int TInteraccionQt::MostrarPregunta(const QString& texto, int botones)
{
    return Mostrar(TfrmMensaje::TSabor::Pregunta, texto, botones);
}

int TInteraccionQt::MostrarInformacion(const QString& texto, int botones)
{
    return Mostrar(TfrmMensaje::TSabor::Informacion, texto, botones);
}

void TInteraccionQt::MensajePlano(const QString& texto)
{
    TfrmMensajePlano caja(contexto_, texto, Padre());
    caja.Ejecutar();
}

QString TInteraccionQt::PedirNombreNuevo(const QString& nombre)
{
    TfrmCambiarNombre dialogo(contexto_, nombre, Padre());
    dialogo.Ejecutar();
    return dialogo.Resultado();
}

int TInteraccionQt::PreguntarPresencia()
{
    TfrmConexion dialogo(contexto_, Padre());
    const int r = dialogo.Ejecutar();
    if (r == Respuesta::Reintentar || r == Respuesta::Ignorar)
        return r;
    return Respuesta::Abortar;
}

void TInteraccionQt::CursorOcupado(bool ocupado)
{
    if (ocupado) {
        ++ocupado_;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (ocupado_ > 0) {
        --ocupado_;
        QApplication::restoreOverrideCursor();
    }
}

} // namespace qv
