#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace qv {

// Reader of the space-separated text records of every file of the model, over the
// whole file held in memory (Latin-1 bytes). A field: skip spaces, CR, LF and the
// caller's two separators; collect until CR, LF or either separator (the separator
// that ends it is consumed, and so is the LF after a CR). Fields keep at most
// `MaxCampo` characters; the rest of a longer field is consumed and dropped.
// LF alone is taken as a line end too, so files edited elsewhere still read.
class TLectorCampos {
public:
    static constexpr int MaxCampo = 100;

    explicit TLectorCampos(QByteArray datos);

    // Next field; empty at the end of the data.
    QByteArray LeerCampo(char sep1 = ' ', char sep2 = ' ');
    QString LeerCampoTexto(char sep1 = ' ', char sep2 = ' ');

    // Skips blanks, then collects up to `fin` (consumed) or the line end (not
    // consumed); blanks inside are kept. For the last field of a record that may
    // hold spaces (a file name): unlike LeerCampo it never runs into the next line.
    QByteArray LeerHasta(char fin);

    // Rest of the current line (without CR LF); the line end is consumed.
    QByteArray LeerLinea();
    // The same as a view into the data, valid while the reader lives: no copy, for
    // the million sample lines of a large file.
    QByteArrayView LeerLineaVista();
    QString LeerLineaTexto();

    // Fields as numbers: the whole field must be the number (EErrorFormato otherwise,
    // also at the end of the data).
    double LeerCampoReal(char sep1 = ' ', char sep2 = ' ');
    qint64 LeerCampoEntero(char sep1 = ' ', char sep2 = ' ');

    // Lines as numbers: leading blanks, the number, rest of the line ignored
    // (EErrorFormato when there is no number or no line left).
    double LeerLineaReal();
    qint64 LeerLineaEntero();

    // Skips the rest of the current line including its end.
    void SaltarLinea();
    // After a record: the rest of its line, unless its last field already ended it.
    void SaltarResto();

    // No byte left.
    bool Fin() const { return pos_ >= datos_.size(); }
    qsizetype Posicion() const { return pos_; }
    void PonerPosicion(qsizetype p);
    const QByteArray& Datos() const { return datos_; }

private:
    bool FinDeLinea(qsizetype p) const; // p is at a line end or the end of the data
    void SaltarFinDeLinea();            // CR, LF or CR LF at the read position

    QByteArray datos_;
    qsizetype pos_ = 0;
};

} // namespace qv
