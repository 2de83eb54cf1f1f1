#include "link/fichero_ini.h"

#include <cstring>
#include <vector>

namespace qv::FicheroIni {

namespace {

enum class Tipo { Otra, Seccion, Clave };

// One line of the text: where it starts, where its content ends (before CR LF or LF)
// and where the next line starts.
struct Linea {
    qsizetype inicio = 0;
    qsizetype finContenido = 0;
    qsizetype fin = 0;
    Tipo tipo = Tipo::Otra;
    QString nombre;          // section or key name
    qsizetype igual = -1;    // position of "=" in a value line
    bool seccionValida = false;
};

std::vector<Linea> Analizar(const QByteArray& texto)
{
    std::vector<Linea> lineas;
    qsizetype inicio = 0;
    while (inicio < texto.size()) {
        Linea l;
        l.inicio = inicio;
        qsizetype nl = texto.indexOf('\n', inicio);
        l.fin = nl < 0 ? texto.size() : nl + 1;
        l.finContenido = nl < 0 ? texto.size() : nl;
        if (l.finContenido > l.inicio && texto[l.finContenido - 1] == '\r')
            --l.finContenido;
        const QByteArray contenido = texto.mid(l.inicio, l.finContenido - l.inicio).trimmed();
        if (contenido.startsWith('[')) {
            // Any bracket line ends the section before it; only a closed one names a new one.
            l.tipo = Tipo::Seccion;
            const qsizetype cierre = contenido.indexOf(']');
            l.seccionValida = cierre > 0;
            if (l.seccionValida)
                l.nombre = QString::fromLatin1(contenido.mid(1, cierre - 1).trimmed());
        } else if (!contenido.isEmpty() && !contenido.startsWith(';')) {
            // Only within the line: a search through the rest of the text for every
            // line would make a long file without "=" quadratic.
            const char* base = texto.constData();
            const auto* pos = static_cast<const char*>(
                std::memchr(base + l.inicio, '=', size_t(l.finContenido - l.inicio)));
            const qsizetype igual = pos ? qsizetype(pos - base) : -1;
            if (igual >= 0) {
                const QByteArray clave = texto.mid(l.inicio, igual - l.inicio).trimmed();
                if (!clave.isEmpty()) {
                    l.tipo = Tipo::Clave;
                    l.nombre = QString::fromLatin1(clave);
                    l.igual = igual;
                }
            }
        }
        lineas.push_back(std::move(l));
        inicio = lineas.back().fin;
    }
    return lineas;
}

bool Igual(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Index of the first value line of the key in any section of that name, or -1.
qsizetype BuscarClave(const std::vector<Linea>& lineas, const QString& seccion, const QString& clave)
{
    bool enSeccion = false;
    for (size_t i = 0; i < lineas.size(); ++i) {
        const Linea& l = lineas[i];
        if (l.tipo == Tipo::Seccion)
            enSeccion = l.seccionValida && Igual(l.nombre, seccion);
        else if (enSeccion && l.tipo == Tipo::Clave && Igual(l.nombre, clave))
            return qsizetype(i);
    }
    return -1;
}

QByteArray FinDeLinea(const QByteArray& texto)
{
    if (texto.contains("\r\n") || !texto.contains('\n'))
        return QByteArrayLiteral("\r\n");
    return QByteArrayLiteral("\n");
}

QByteArray SinSaltos(const QString& s)
{
    QByteArray b = s.toLatin1();
    b.replace('\r', QByteArray()).replace('\n', QByteArray());
    return b;
}

} // namespace

QString Leer(const QByteArray& texto, const QString& seccion, const QString& clave, bool* hallado)
{
    const std::vector<Linea> lineas = Analizar(texto);
    const qsizetype i = BuscarClave(lineas, seccion, clave);
    if (hallado)
        *hallado = i >= 0;
    if (i < 0)
        return {};
    const Linea& l = lineas[size_t(i)];
    QByteArray valor = texto.mid(l.igual + 1, l.finContenido - l.igual - 1).trimmed();
    if (valor.size() >= 2 && (valor.front() == '"' || valor.front() == '\'') && valor.back() == valor.front())
        valor = valor.mid(1, valor.size() - 2);
    return QString::fromLatin1(valor);
}

QByteArray Escribir(const QByteArray& texto, const QString& seccion, const QString& clave, const QString& valor)
{
    const std::vector<Linea> lineas = Analizar(texto);
    const QByteArray eol = FinDeLinea(texto);
    const QByteArray nuevoValor = SinSaltos(valor);

    if (const qsizetype i = BuscarClave(lineas, seccion, clave); i >= 0) {
        // Keep the key as spelled and the blanks after "=": only the value changes.
        const Linea& l = lineas[size_t(i)];
        qsizetype desde = l.igual + 1;
        while (desde < l.finContenido && (texto[desde] == ' ' || texto[desde] == '\t'))
            ++desde;
        QByteArray r = texto;
        r.replace(desde, l.finContenido - desde, nuevoValor);
        return r;
    }

    const QByteArray lineaClave = SinSaltos(clave) + '=' + nuevoValor + eol;
    for (size_t i = 0; i < lineas.size(); ++i) {
        const Linea& cabecera = lineas[i];
        if (cabecera.tipo != Tipo::Seccion || !cabecera.seccionValida || !Igual(cabecera.nombre, seccion))
            continue;
        // After the section's last value line, so that blank lines and comments that
        // introduce the next section stay in front of it.
        size_t ultima = i;
        for (size_t j = i + 1; j < lineas.size() && lineas[j].tipo != Tipo::Seccion; ++j)
            if (lineas[j].tipo == Tipo::Clave)
                ultima = j;
        const Linea& tras = lineas[ultima];
        QByteArray r = texto;
        if (texto[tras.fin - 1] != '\n') // the last line had no line end: neither gets one
            r.insert(tras.fin, eol + lineaClave.left(lineaClave.size() - eol.size()));
        else
            r.insert(tras.fin, lineaClave);
        return r;
    }

    QByteArray r = texto;
    if (!r.isEmpty() && !r.endsWith('\n'))
        r += eol;
    r += '[' + SinSaltos(seccion) + ']' + eol + lineaClave;
    return r;
}

} // namespace qv::FicheroIni
