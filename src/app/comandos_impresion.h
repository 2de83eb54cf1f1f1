#pragma once

#include <QString>

namespace qv {

class IPrincipal;
class TComandosArchivo;
class TVentanaSenales;

// Pictures and prints of the main window: the active signal window's graph to a picture
// file (BMP, or PNG, SVG and PDF by the name's extension), to the clipboard and to a
// Windows metafile; the print preview of the report, and the data table's printing.
// Holds no state of its own: the dialogs' names live in the file commands.
class TComandosImpresion {
public:
    TComandosImpresion(IPrincipal& principal, TComandosArchivo& archivo) : principal_(principal), archivo_(archivo) {}

    // "Exportar BMP" > "a fichero".
    void ExportarPantalla1Click();
    // "Exportar BMP" > "a portapapeles".
    void aportapapeles1Click();
    // "Exportar WMF".
    void ExportarWMFClick();
    // "&Imprimir..." and "Print.": the data table prints itself; otherwise the preview,
    // with the active signal window set to 625 x 400 and its graph handed over (and
    // its size back afterwards), or without a graph for any other child.
    void Presentacinpreliminar1Click();

private:
    TVentanaSenales* VentanaActiva() const;
    // Writes the active graph to `ruta`: a metafile, or the picture format of the
    // name's extension (BMP when it has none known); a failure shows text 1196 with
    // the file name.
    void Guardar(const QString& ruta, bool metafichero);

    IPrincipal& principal_;
    TComandosArchivo& archivo_;
};

} // namespace qv
