#pragma once

// The printed report: the set's comment and the table of sample values, drawn on an
// open print job, and what the data table window and the print preview share to open
// one (a PDF file stands in for the printer when none is installed).

#include <QColor>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>

class QPainter;
class QPrinter;
class QWidget;

namespace qv {

class TCjtSenales;
class TTextos;
struct TContextoPrograma;

// Printer dots per screen pixel ("k"): the printer's vertical resolution over the
// screen's pixels per inch, rounded, at least 1 (6 for 600 dpi and 96 ppi).
int PuntosPorPixel(int dpiImpresora, int ppiPantalla);

// The pages of one open print job as the report fills them. Positions are printer dots
// from the printable area's top left corner; W and H are its size.
class THojasInforme {
public:
    // `nuevaPagina` starts the next page of the job and answers false when it cannot.
    THojasInforme(QPainter& p, QSize pagina, int k, std::function<bool()> nuevaPagina);

    QPainter& Pintor() const { return p_; }
    int K() const { return k_; }
    int W() const { return pagina_.width(); }
    int H() const { return pagina_.height(); }
    int Pagina() const { return numero_; }
    // Pages started so far would have gone wrong: the report stops.
    bool Fallo() const { return fallo_; }

    // Text with its top left corner at (x, y), in the text colour.
    void Texto(int x, int y, const QString& texto) const;
    void PonerColorTexto(const QColor& c) { colorTexto_ = c; }
    void PonerNegrita(bool negrita, bool subrayado) const;

    // The page number at the foot, a new page with its frame and its own number. False
    // when the job could not start the page.
    bool CerrarPagina();

private:
    void NumeroPagina() const;

    QPainter& p_;
    QSize pagina_;
    int k_;
    std::function<bool()> nuevaPagina_;
    int numero_ = 1;
    bool fallo_ = false;
    QColor colorTexto_ = Qt::black;
};

// The comment's lines under a heading (text 237), continuing on new pages. Answers
// the row reached; `y` unchanged when there is no comment.
int PintarComentario(THojasInforme& hojas, const QStringList& comentario, TTextos& textos, int y);

// The sample values of the named signals (none: every analog then every digital name
// of the set), in bands of as many columns as the page width takes, inside a red
// frame, continuing on new pages with the header repeated. The row count and the
// times come from the newest signal of the set; a shorter signal leaves its later
// cells empty and a name the set lacks gives an empty column. Answers the last row.
int PintarTabla(THojasInforme& hojas, const TCjtSenales& senales, QStringList nombres, TTextos& textos, int y);

// Readies a printer for a job: with a real printer, the print dialog (through the
// modal seam) unless `sinDialogo`; when none is installed (the printer writes PDF)
// and no file is set yet, the save dialog asks for the PDF file. False when the
// person cancelled.
bool PrepararImpresora(QPrinter& impresora, const TContextoPrograma& contexto, QWidget* padre, bool sinDialogo);

// The set's table of the named signals as one print job on `impresora`, with the
// font of `ventana` (which also gives the screen's pixels per inch). False when the
// job could not be opened or a page could not be started; the job is aborted then.
bool ImprimirTabla(QPrinter& impresora, const QWidget& ventana, const TCjtSenales& senales,
                   const QStringList& nombres, TTextos& textos);

} // namespace qv
