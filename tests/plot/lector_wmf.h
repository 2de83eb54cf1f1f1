#pragma once

// Reads a placeable metafile back for the tests: the two headers, the records, and a
// replay of the object table and the saved DC states that finds what a player
// would trip on (deleting a selected object, selecting a free slot, leaks).

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace qv::test {

struct TRegistroWmf {
    uint16_t funcion = 0;
    QByteArray parametros; // the record after its size and function

    int Palabras() const { return int(parametros.size() / 2) + 3; }
    uint16_t Palabra(int i) const
    {
        return uint16_t(uint8_t(parametros[2 * i]) | (uint8_t(parametros[2 * i + 1]) << 8));
    }
    int16_t Entero(int i) const { return int16_t(Palabra(i)); }
    uint32_t Doble(int i) const { return Palabra(i) | (uint32_t(Palabra(i + 1)) << 16); }
};

struct TWmfLeido {
    bool valido = false;
    QString fallo;
    // Placeable header.
    uint32_t clave = 0;
    int16_t caja[4] = {0, 0, 0, 0}; // left, top, right, bottom
    uint16_t pulgada = 0;
    uint16_t suma = 0;
    uint16_t sumaCalculada = 0;
    // Metafile header.
    uint16_t tipo = 0, tamanoCabecera = 0, version = 0, numObjetos = 0, miembros = 0;
    uint32_t tamanoPalabras = 0, mayorRegistro = 0;
    std::vector<TRegistroWmf> registros;

    // Replay of the object table.
    QStringList problemas; // what a player would trip on
    int objetosVivosAlFinal = 0;
    int mayorIndice = -1;

    std::vector<const TRegistroWmf*> De(uint16_t funcion) const
    {
        std::vector<const TRegistroWmf*> r;
        for (const auto& reg : registros)
            if (reg.funcion == funcion)
                r.push_back(&reg);
        return r;
    }
};

inline uint16_t LeerPalabra(const QByteArray& b, int pos)
{
    return uint16_t(uint8_t(b[pos]) | (uint8_t(b[pos + 1]) << 8));
}
inline uint32_t LeerDoble(const QByteArray& b, int pos)
{
    return LeerPalabra(b, pos) | (uint32_t(LeerPalabra(b, pos + 2)) << 16);
}

inline TWmfLeido LeerWmf(const QByteArray& b)
{
    TWmfLeido w;
    if (b.size() < 22 + 18) {
        w.fallo = QStringLiteral("too short");
        return w;
    }
    w.clave = LeerDoble(b, 0);
    for (int i = 0; i < 4; ++i)
        w.caja[i] = int16_t(LeerPalabra(b, 6 + 2 * i));
    w.pulgada = LeerPalabra(b, 14);
    w.suma = LeerPalabra(b, 20);
    for (int i = 0; i < 20; i += 2)
        w.sumaCalculada ^= LeerPalabra(b, i);
    w.tipo = LeerPalabra(b, 22);
    w.tamanoCabecera = LeerPalabra(b, 24);
    w.version = LeerPalabra(b, 26);
    w.tamanoPalabras = LeerDoble(b, 28);
    w.numObjetos = LeerPalabra(b, 32);
    w.mayorRegistro = LeerDoble(b, 34);
    w.miembros = LeerPalabra(b, 38);

    int pos = 40;
    while (pos + 6 <= b.size()) {
        const uint32_t palabras = LeerDoble(b, pos);
        if (palabras < 3 || pos + qint64(palabras) * 2 > b.size()) {
            w.fallo = QStringLiteral("record of %1 words at byte %2").arg(palabras).arg(pos);
            return w;
        }
        TRegistroWmf r;
        r.funcion = LeerPalabra(b, pos + 4);
        r.parametros = b.mid(pos + 6, int(palabras) * 2 - 6);
        w.registros.push_back(r);
        pos += int(palabras) * 2;
        if (r.funcion == 0)
            break;
    }
    if (w.registros.empty() || w.registros.back().funcion != 0) {
        w.fallo = QStringLiteral("no end-of-file record");
        return w;
    }
    if (pos != b.size()) {
        w.fallo = QStringLiteral("bytes after the end-of-file record");
        return w;
    }

    // Object table: a new object takes the lowest free slot; a DC state selects one
    // pen, brush and font; SaveDC/RestoreDC push and pop that state.
    struct TSel {
        int obj[3] = {-1, -1, -1};
    };
    std::vector<int> clase;    // per slot: 0 pen, 1 brush, 2 font, -1 free
    std::vector<TSel> pila;
    TSel actual;
    auto seleccionado = [&](int obj) {
        for (int k = 0; k < 3; ++k) {
            if (actual.obj[k] == obj)
                return true;
            for (const auto& s : pila)
                if (s.obj[k] == obj)
                    return true;
        }
        return false;
    };
    for (const auto& r : w.registros) {
        int nueva = -1;
        switch (r.funcion) {
        case 0x02FA: nueva = 0; break; // CREATEPENINDIRECT
        case 0x02FC: nueva = 1; break; // CREATEBRUSHINDIRECT
        case 0x02FB: nueva = 2; break; // CREATEFONTINDIRECT
        case 0x012D: {                 // SELECTOBJECT
            const int obj = r.Palabra(0);
            if (obj >= int(clase.size()) || clase[obj] < 0)
                w.problemas << QStringLiteral("select of free slot %1").arg(obj);
            else
                actual.obj[clase[obj]] = obj;
            break;
        }
        case 0x01F0: { // DELETEOBJECT
            const int obj = r.Palabra(0);
            if (obj >= int(clase.size()) || clase[obj] < 0)
                w.problemas << QStringLiteral("delete of free slot %1").arg(obj);
            else if (seleccionado(obj))
                w.problemas << QStringLiteral("delete of selected object %1").arg(obj);
            else
                clase[obj] = -1;
            break;
        }
        case 0x001E: pila.push_back(actual); break; // SAVEDC
        case 0x0127:                                // RESTOREDC(-1)
            if (pila.empty() || r.Entero(0) != -1) {
                w.problemas << QStringLiteral("restore without save");
            } else {
                actual = pila.back();
                pila.pop_back();
            }
            break;
        default: break;
        }
        if (nueva >= 0) {
            int slot = 0;
            while (slot < int(clase.size()) && clase[slot] >= 0)
                ++slot;
            if (slot == int(clase.size()))
                clase.push_back(-1);
            clase[slot] = nueva;
            w.mayorIndice = std::max(w.mayorIndice, slot);
        }
    }
    if (!pila.empty())
        w.problemas << QStringLiteral("%1 saved states left").arg(pila.size());
    for (int c : clase)
        w.objetosVivosAlFinal += c >= 0 ? 1 : 0;
    w.valido = true;
    return w;
}

} // namespace qv::test
