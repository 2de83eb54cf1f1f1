#pragma once

#include "lang/ui/formulario.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QCPGraph;
class QCPItemText;
class QLabel;
class QListWidget;

namespace qv {

class IPrincipal;
class TGrf;
class TSenalAna;
class TSenal;

// The name a signal of another capture is laid over with: the file's base name, "_",
// the signal's name ("prueba_C1"), then "_2", "_3", ... while it clashes with one of
// `ocupados`.
QString NombreSuperpuesta(const QString& fichero, const QString& senal, const QStringList& ocupados);

// A plain copy of an analog signal, or of a digital one as 0 V / 5 V: name, period,
// unit and samples, a calculated signal of no channel, with no generator or operation,
// so that nothing recomputes it or takes it for an operand.
std::unique_ptr<TSenalAna> CopiaSimple(const TSenal& s, const QString& nombre);

// Signals of other captures laid over a signal window's graph: dashed lines drawn on
// the window's axes, X shifted by each one's start, named in the top-left corner in
// their colours. They belong to the window, not to the set: no operation recomputes
// them and "Guardar" never writes them, until they are kept (Sacar hands them over).
// They are drawn only while the window plots against time.
class TSuperposiciones : public QObject {
    Q_OBJECT
public:
    TSuperposiciones(TGrf& grafica, QObject* parent = nullptr);
    ~TSuperposiciones() override;

    // `inicio`: the time at which the signal's first sample is drawn.
    void Anadir(std::unique_ptr<TSenalAna> senal, double inicio);
    void Quitar();
    // The signals, in the order they were laid, leaving the graph.
    std::vector<std::unique_ptr<TSenalAna>> Sacar();

    bool Vacia() const { return capas_.empty(); }
    QStringList Nombres() const;
    const TSenalAna* Senal(int i) const;
    double Inicio(int i) const;
    // The graph of overlay i (its pen, its points).
    QCPGraph* Grafico(int i) const;
    // Shown or not (a time plot or an XY one).
    void PonerVisibles(bool on);

private:
    struct TCapa;
    void Dibujar(TCapa& c, int indice);
    void Borrar(TCapa& c);

    // The graph belongs to the window, which may free it before this object.
    QPointer<TGrf> grafica_;
    std::vector<std::unique_ptr<TCapa>> capas_;
};

// "Superponer captura": the signals of another signal file to lay over the window, how
// to align them (their start at 0, or at the blue cursor) and whether to keep them in
// the set at once.
class TfrmSuperponer : public TFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 0;

    explicit TfrmSuperponer(IPrincipal& principal, QWidget* parent = nullptr);

    // Every name selected; the cursor choice only when the blue cursor is placed.
    void Inicializar(const QString& fichero, const QStringList& nombres, bool cursorAzul);

    QStringList Elegidas() const;
    bool EnCursorAzul() const;
    bool Conservar() const;

protected:
    void TextosAplicados() override;
    bool Validar() override;

private:
    QLabel* LRFichero;
    QLabel* LSenalesFichero;
    QListWidget* LBSenales;
    QLabel* LAlinear;
    QComboBox* CBAlinear;
    QCheckBox* CBConservar;
};

} // namespace qv
