#include "display/impresion.h"

#include "app/api/contexto.h"
#include "app/api/dialogos_archivo.h"
#include "lang/textos.h"
#include "lang/ui/modal.h"
#include "model/formatos.h"
#include "model/senales.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <vector>

namespace qv {

namespace {

constexpr int kTextoComentario = 237;
constexpr int kTextoTabla = 234;
constexpr int kTextoTiempo = 236;
constexpr int kTextoNumero = 254;
constexpr int kFiltroPdf = 1194;
constexpr int kTituloPdf = 1195;

// A cell of the table: the value of sample i of the signal, or nothing past its end.
QString Celda(const TSenal* s, int i)
{
    if (!s || i >= s->NumMuestras())
        return {};
    if (const auto* a = dynamic_cast<const TSenalAna*>(s))
        return FormatoExportacion(a->LeerMuestra(i));
    return FormatoExportacion(static_cast<const TSenalDig*>(s)->LeerMuestra(i) ? 1.0 : 0.0);
}

const TSenal* Buscar(const TCjtSenales& set, const QString& nombre)
{
    if (const TSenal* s = set.BuscarAna(nombre))
        return s;
    return set.BuscarDig(nombre);
}

} // namespace

int PuntosPorPixel(int dpiImpresora, int ppiPantalla)
{
    if (ppiPantalla <= 0)
        return 1;
    return std::max(1, int(std::lround(double(dpiImpresora) / ppiPantalla)));
}

// ---- pages -----------------------------------------------------------------------------

THojasInforme::THojasInforme(QPainter& p, QSize pagina, int k, std::function<bool()> nuevaPagina)
    : p_(p), pagina_(pagina), k_(std::max(1, k)), nuevaPagina_(std::move(nuevaPagina))
{
}

void THojasInforme::Texto(int x, int y, const QString& texto) const
{
    const QPen lapiz = p_.pen();
    p_.setPen(colorTexto_);
    p_.drawText(QPointF(x, y + QFontMetrics(p_.font(), p_.device()).ascent()), texto);
    p_.setPen(lapiz);
}

void THojasInforme::PonerNegrita(bool negrita, bool subrayado) const
{
    QFont f = p_.font();
    f.setBold(negrita);
    f.setUnderline(subrayado);
    p_.setFont(f);
}

void THojasInforme::NumeroPagina() const
{
    Texto(W() - 52 * k_, H() - 22 * k_, QString::number(numero_));
}

bool THojasInforme::CerrarPagina()
{
    if (fallo_)
        return false;
    NumeroPagina();
    if (!nuevaPagina_ || !nuevaPagina_()) {
        fallo_ = true;
        return false;
    }
    ++numero_;
    QPen lapiz = p_.pen();
    lapiz.setWidth(2);
    p_.setPen(lapiz);
    p_.drawRoundedRect(QRect(QPoint(15 * k_, 30 * k_), QPoint(W() - 15 * k_, H() - 52 * k_)), 15 * k_, 15 * k_);
    NumeroPagina();
    return true;
}

// ---- comment and table -----------------------------------------------------------------

int PintarComentario(THojasInforme& hojas, const QStringList& comentario, TTextos& textos, int y)
{
    if (comentario.isEmpty() || hojas.Fallo())
        return y;
    const int k = hojas.K();
    const int limite = hojas.H() - 75 * k;
    int c = y + 60 * k;
    if (c > limite) {
        if (!hojas.CerrarPagina())
            return c;
        c = 52 * k;
    }
    hojas.PonerNegrita(true, true);
    hojas.Texto(30 * k, c, textos.BuscarTexto(kTextoComentario));
    hojas.PonerNegrita(false, false);
    int r = c + 22 * k;
    for (const QString& linea : comentario) {
        hojas.Texto(45 * k, r, linea);
        r += 15 * k;
        if (r > limite) {
            if (!hojas.CerrarPagina())
                return r;
            r = 52 * k;
        }
    }
    return r;
}

int PintarTabla(THojasInforme& hojas, const TCjtSenales& senales, QStringList nombres, TTextos& textos, int y)
{
    if (nombres.isEmpty())
        nombres = senales.NombresAna() + senales.NombresDig();
    if (nombres.isEmpty() || hojas.Fallo())
        return y;
    QPainter& p = hojas.Pintor();
    const int k = hojas.K();
    const int W = hojas.W();
    const int H = hojas.H();
    const int limite = H - 75 * k;

    QPen marco(Qt::red);
    marco.setWidth(5);
    p.setPen(marco);
    p.drawRoundedRect(QRect(QPoint(15 * k, y + 30 * k), QPoint(W - 15 * k, H - 52 * k)), 15 * k, 15 * k);
    int fila = y + 45 * k;
    hojas.PonerNegrita(true, true);
    hojas.Texto(30 * k, fila, textos.BuscarTexto(kTextoTabla));
    hojas.PonerNegrita(false, false);

    int n = 0;
    double periodo = 0;
    if (senales.NumAna() > 0) {
        n = senales.Ana(0)->NumMuestras();
        periodo = float(senales.Ana(0)->Periodo());
    } else if (senales.NumDig() > 0) {
        n = senales.Dig(0)->NumMuestras();
        periodo = float(senales.Dig(0)->Periodo());
    }
    // At least one column, so that a narrow page still makes progress.
    const int columnas = std::max(1, int(std::lround(double(W - 200 * k) / (75 * k))));
    const QString cabeceraNumero = textos.BuscarTexto(kTextoNumero);
    const QString cabeceraTiempo = textos.BuscarTexto(kTextoTiempo);

    while (!nombres.isEmpty()) {
        const QStringList banda = nombres.mid(0, columnas);
        std::vector<const TSenal*> columna;
        for (const QString& nombre : banda)
            columna.push_back(Buscar(senales, nombre));
        auto cabecera = [&] {
            hojas.PonerNegrita(true, true);
            hojas.Texto(30 * k, fila, cabeceraNumero);
            hojas.Texto(105 * k, fila, cabeceraTiempo);
            for (int j = 0; j < banda.size(); ++j)
                hojas.Texto(180 * k + j * 75 * k, fila, banda[j]);
            hojas.PonerNegrita(false, false);
        };
        fila += 52 * k;
        if (fila < limite)
            cabecera();
        for (int i = 1; i <= n; ++i) {
            fila += 22 * k;
            if (fila > limite) {
                if (!hojas.CerrarPagina())
                    return fila;
                fila = 52 * k;
                cabecera();
                fila += 22 * k;
            }
            hojas.Texto(30 * k, fila, QString(i <= 9 ? 4 : 3, QLatin1Char(' ')) + QString::number(i));
            hojas.Texto(105 * k, fila, FormatoExportacion((i - 1) * periodo));
            for (size_t j = 0; j < columna.size(); ++j)
                hojas.Texto(180 * k + int(j) * 75 * k, fila, Celda(columna[j], i - 1));
        }
        nombres.erase(nombres.begin(), nombres.begin() + banda.size());
    }
    QPen negro = p.pen();
    negro.setColor(Qt::black);
    p.setPen(negro);
    return fila;
}

// ---- print jobs ------------------------------------------------------------------------

bool PrepararImpresora(QPrinter& impresora, const TContextoPrograma& contexto, QWidget* padre, bool sinDialogo)
{
    if (impresora.outputFormat() == QPrinter::PdfFormat) {
        if (!impresora.outputFileName().isEmpty())
            return true;
        const QString ruta = contexto.Dialogos.GuardarFichero(contexto.Textos().BuscarTexto(kFiltroPdf),
                                                              contexto.Textos().BuscarTexto(kTituloPdf),
                                                              QStringLiteral("*.pdf"), QStringLiteral("pdf"));
        if (ruta.isEmpty())
            return false;
        impresora.setOutputFileName(ruta);
        return true;
    }
    if (sinDialogo)
        return true;
    QPrintDialog dialogo(&impresora, padre);
    dialogo.setObjectName(QStringLiteral("DialogoImprimir"));
    return contexto.Modal().Ejecutar(dialogo) == QDialog::Accepted;
}

bool ImprimirTabla(QPrinter& impresora, const QWidget& ventana, const TCjtSenales& senales,
                   const QStringList& nombres, TTextos& textos)
{
    QPainter p;
    if (!p.begin(&impresora)) {
        impresora.abort();
        return false;
    }
    p.setFont(ventana.font());
    const int k = PuntosPorPixel(impresora.resolution(), ventana.logicalDpiY());
    THojasInforme hojas(p, QSize(impresora.width(), impresora.height()), k, [&impresora] { return impresora.newPage(); });
    PintarTabla(hojas, senales, nombres, textos, 0);
    if (hojas.Fallo()) {
        impresora.abort();
        p.end();
        return false;
    }
    return p.end();
}

} // namespace qv
