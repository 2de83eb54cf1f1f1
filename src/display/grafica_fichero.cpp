#include "display/grafica_fichero.h"

#include "app/api/contexto.h"
#include "app/api/dialogos_archivo.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "display/grf.h"
#include "display/imagenes.h"
#include "display/senales_digitales.h"
#include "display/visualiza_senales.h"
#include "lang/ui/modal.h"
#include "link/reloj.h"
#include "model/formatos.h"
#include "model/senales.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

namespace qv {

// The main window as a signal window needs it, with nothing on screen and nobody to ask.
class TGraficaFichero::TPrincipalOculto : public IPrincipal {
public:
    TPrincipalOculto(TTextos& textos, TInteraccion& interaccion)
        : contexto_{{textos, interaccion, modal_, nullptr}, reloj_, dialogos_, QString()}
    {
        area_ = new QMdiArea(&ventana_);
        ventana_.setAttribute(Qt::WA_DontShowOnScreen);
        ventana_.resize(1600, 1200);
        area_->resize(ventana_.size());
    }
    ~TPrincipalOculto() override
    {
        estado_.Cerrando = true;
        delete area_;
    }

    TEstadoPrograma& Estado() override { return estado_; }
    const TContextoPrograma& Contexto() const override { return contexto_; }
    QWidget& Ventana() override { return ventana_; }
    QMdiArea& AreaVentanas() override { return *area_; }
    IVentanaHija* HijaActiva() const override { return nullptr; }
    void AbrirVentanaAnalogica(const QString&) override {}
    void AbrirVentanaDigital(const QString&) override {}
    void CerrarVentanas() override {}
    void CerrarVentanaActiva() override {}
    void QuitarSenalesDeVentanas(const QStringList&) override {}
    void RenombrarSenalEnVentanas(const QString&, const QString&) override {}
    void CerrarClick() override {}
    void GuardarArchivoClick() override {}
    bool GuardarAntesDeDescartar(int) override { return false; }
    void SustituirConjunto(std::unique_ptr<TCjtSenales> nuevo) override { estado_.SenalesActuales = std::move(nuevo); }
    void FiltrarFFT(TSenalAna& senal, int tipo, double baja, double alta, double referencia) override
    {
        estado_.FFT2.FiltrarFFT(senal, tipo, baja, alta, referencia);
    }
    int NuevoNumeroVentana() override { return ++ventanas_; }
    int ContadorVentanas() const override { return ventanas_; }
    int MaxSenalesAna() const override { return 8; }
    int MaxSenalesDig() const override { return 16; }
    bool DetenerRecordatorio() override { return false; }
    void RestaurarRecordatorio(bool) override {}
    void MostrarEstado(const QString&) override {}

private:
    TModal modal_;
    TRelojReal reloj_;
    TDialogosArchivoNulos dialogos_;
    TContextoPrograma contexto_;
    TEstadoPrograma estado_;
    QWidget ventana_;
    QMdiArea* area_ = nullptr;
    int ventanas_ = 0;
};

TGraficaFichero::TGraficaFichero(TTextos& textos, TInteraccion& interaccion)
    : principal_(std::make_unique<TPrincipalOculto>(textos, interaccion))
{
    principal_->Estado().SenalesActuales = std::make_unique<TCjtSenales>(textos, interaccion);
}

TGraficaFichero::~TGraficaFichero() = default;

TCjtSenales& TGraficaFichero::Senales()
{
    return *principal_->Estado().SenalesActuales;
}

bool TGraficaFichero::Dibujar(const QStringList& nombres, bool digital, const QString& ejeX, QSize tamano,
                              const QString& salida, QString& error)
{
    if (!QApplication::instance()) {
        error = QStringLiteral("drawing needs the application object");
        return false;
    }
    const TFormatoImagen formato = FormatoDeFichero(salida);
    if (formato == TFormatoImagen::Desconocido) {
        error = QStringLiteral("the output must end in .png, .svg, .pdf, .wmf or .bmp");
        return false;
    }
    TVentanaSenales* ventana = digital ? static_cast<TVentanaSenales*>(new TfrmSenalesDigitales(*principal_))
                                       : static_cast<TVentanaSenales*>(new TfrmVisualizaSenales(*principal_));
    QMdiSubWindow* marco = principal_->AreaVentanas().addSubWindow(ventana);
    ventana->CargarSenales(digital ? principal_->MaxSenalesDig() : principal_->MaxSenalesAna());
    if (!nombres.isEmpty()) {
        ventana->SenalesVisibles = nombres;
        ventana->CalcularOcultas(Senales().NombresAna() + Senales().NombresDig());
    }
    if (auto* analogica = qobject_cast<TfrmVisualizaSenales*>(ventana); analogica && !ejeX.isEmpty()) {
        analogica->EjeXElegido = ejeX;
        // Left to choose, the plot is of another signal than X itself.
        if (nombres.isEmpty() && ventana->SenalesVisibles.size() > 1)
            ventana->SenalesVisibles.removeAll(ejeX);
    }
    if (ventana->SenalesVisibles.isEmpty()) {
        delete marco;
        error = digital ? QStringLiteral("the file holds no digital signal to draw")
                        : QStringLiteral("the file holds no signal to draw");
        return false;
    }
    principal_->Ventana().show();
    marco->show();
    // The window sized so that its graph is the size asked for.
    for (int i = 0; i < 3 && ventana->Grafica().size() != tamano; ++i) {
        marco->resize(marco->size() + tamano - ventana->Grafica().size());
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
    ventana->Refrescar();
    QCoreApplication::sendPostedEvents();
    TGrf& grafica = ventana->Grafica();
    const bool escrito = GuardarImagen(salida, formato, tamano, PintorGrafica(grafica), &error);
    delete marco;
    return escrito;
}

bool LeerTamano(const QString& texto, QSize& tamano)
{
    const QStringList partes = texto.toLower().split(QLatin1Char('x'));
    if (partes.size() != 2)
        return false;
    const auto w = LeerEntero(partes[0]);
    const auto h = LeerEntero(partes[1]);
    if (!w || !h || *w < 16 || *h < 16 || *w > 10000 || *h > 10000)
        return false;
    tamano = QSize(int(*w), int(*h));
    return true;
}

} // namespace qv
