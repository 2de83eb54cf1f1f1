#include "model/config_es.h"

namespace qv {

TSalDig::TSalDig(const TSalDig& o) : TEntSal(o), Generador(o.Generador ? o.Generador->Copiar() : nullptr) {}

TSalDig& TSalDig::operator=(const TSalDig& o)
{
    if (this != &o) {
        TEntSal::operator=(o);
        Generador = o.Generador ? o.Generador->Copiar() : nullptr;
    }
    return *this;
}

TSalAna::TSalAna(const TSalAna& o) : TEntSal(o), Generador(o.Generador ? o.Generador->Copiar() : nullptr) {}

TSalAna& TSalAna::operator=(const TSalAna& o)
{
    if (this != &o) {
        TEntSal::operator=(o);
        Generador = o.Generador ? o.Generador->Copiar() : nullptr;
    }
    return *this;
}

float FondoEscalaRango(int rango)
{
    static constexpr float fondos[] = {10.0f, 5.0f, 2.0f, 1.0f, 0.5f, 0.2f};
    return rango >= 0 && rango < 6 ? fondos[rango] : 0.0f;
}

float ResolucionRango(int rango)
{
    // Computed in double, held in single precision (inexact only for the 0.2 V range).
    static constexpr double fondos[] = {10, 5, 2, 1, 0.5, 0.2};
    return rango >= 0 && rango < 6 ? float(2 * fondos[rango] / 4096) : 0.0f;
}

QString TokenRango(int rango)
{
    static const char* const tokens[] = {"10V", "5V", "2V", "1V", "05V", "02V"};
    return rango >= 0 && rango < 6 ? QString::fromLatin1(tokens[rango]) : QString();
}

QString NombreRango(int rango)
{
    static const char16_t* const nombres[] = {u"\u00b110V", u"\u00b15V", u"\u00b12V", u"\u00b11V", u"0,5V", u"\u00b10,2V"};
    return rango >= 0 && rango < 6 ? QString::fromUtf16(nombres[rango]) : QString();
}

TConfigES::TConfigES()
{
    for (int i = 1; i <= NumEntDig; ++i) {
        EntDig(i).Nombre = (i <= 8 ? QStringLiteral("InDigA%1") : QStringLiteral("InDigB%1")).arg((i - 1) % 8 + 1);
        EntDig(i).Numero = i;
    }
    static const char* const ana[] = {"InAnaC1", "InAnaC2", "InAnaD1", "InAnaD2",
                                      "InAnE1",  "InAnE2",  "InAnF1",  "InAnF2"};
    for (int i = 1; i <= NumEntAna; ++i) {
        EntAna(i).Nombre = QString::fromLatin1(ana[i - 1]);
        EntAna(i).Numero = i;
    }
    for (int i = 1; i <= NumSalDig; ++i) {
        SalDig(i).Nombre = (i <= 8 ? QStringLiteral("OutDiW%1") : QStringLiteral("OutDiX%1")).arg((i - 1) % 8 + 1);
        SalDig(i).Numero = i;
    }
    static const char* const salAna[] = {"OutAnY1", "OutAnY2", "OutAnZ1", "OutAnZ2"};
    for (int i = 1; i <= NumSalAna; ++i) {
        SalAna(i).Nombre = QString::fromLatin1(salAna[i - 1]);
        SalAna(i).Numero = i;
    }
}

bool TConfigES::Igual(const TConfigES& o) const
{
    return NumMuestras == o.NumMuestras && UnidadPeriodo == o.UnidadPeriodo && UnidadAnalisis == o.UnidadAnalisis
           && Periodo == o.Periodo && TiempoAnalisis == o.TiempoAnalisis;
}

double TConfigES::PeriodoSegundos() const
{
    switch (UnidadPeriodo) {
    case Unidad::Micro: return Periodo / 1e6;
    case Unidad::Mili: return Periodo / 1e3;
    case Unidad::Minuto: return Periodo * 60;
    default: return Periodo;
    }
}

QString TConfigES::NombreCanalAna(int n) const
{
    if (n >= 1 && n <= 8)
        return EntAna(n).Nombre;
    if (n >= 9 && n <= 12)
        return SalAna(n - 8).Nombre;
    return QString();
}

QString TConfigES::NombreCanalDig(int n) const
{
    if (n >= 1 && n <= 16)
        return EntDig(n).Nombre;
    if (n >= 17 && n <= 32)
        return SalDig(n - 16).Nombre;
    return QString();
}

bool TConfigES::HaySalidasDig() const
{
    for (const auto& s : salDig_)
        if (s.Activo)
            return true;
    return false;
}

bool TConfigES::HaySalidasAna() const
{
    for (const auto& s : salAna_)
        if (s.Activo)
            return true;
    return false;
}

namespace {

template <class A>
bool AlgunoActivo(const A& grupo, int desde, int hasta)
{
    for (int i = desde; i <= hasta; ++i)
        if (grupo[std::size_t(i - 1)].Activo)
            return true;
    return false;
}

void Poner(TLetras& l, QChar letra)
{
    l.texto += letra;
    l.texto += QLatin1Char(',');
    ++l.cuenta;
    l.alguna = true;
}

// Pair-first analog inputs: normal and differential letters.
QChar LetraPrimera(int entrada, bool diferencial)
{
    static const char normal[] = {'c', 'e', 'g', 'i'};
    static const char dif[] = {'k', 'l', 'm', 'n'};
    const int par = (entrada - 1) / 2;
    return QLatin1Char(diferencial ? dif[par] : normal[par]);
}

QChar LetraSegunda(int entrada)
{
    static const char letras[] = {'d', 'f', 'h', 'j'};
    return QLatin1Char(letras[(entrada - 1) / 2]);
}

} // namespace

TLetras TConfigES::LetrasEntDig() const
{
    TLetras l;
    if (AlgunoActivo(entDig_, 1, 8))
        Poner(l, QLatin1Char('a'));
    if (AlgunoActivo(entDig_, 9, 16))
        Poner(l, QLatin1Char('b'));
    return l;
}

TLetras TConfigES::LetrasSalDig() const
{
    TLetras l;
    if (AlgunoActivo(salDig_, 1, 8))
        Poner(l, QLatin1Char('u'));
    if (AlgunoActivo(salDig_, 9, 16))
        Poner(l, QLatin1Char('v'));
    return l;
}

TLetras TConfigES::LetrasEntAna() const
{
    TLetras l;
    for (int i = 1; i <= NumEntAna; ++i) {
        const TEntAna& e = EntAna(i);
        if (!e.Activo)
            continue;
        Poner(l, i % 2 == 1 ? LetraPrimera(i, e.Diferencial) : LetraSegunda(i));
    }
    return l;
}

TLetras TConfigES::LetrasSalAna() const
{
    static const char letras[] = {'w', 'x', 'y', 'z'};
    TLetras l;
    for (int i = 1; i <= NumSalAna; ++i)
        if (SalAna(i).Activo)
            Poner(l, QLatin1Char(letras[i - 1]));
    return l;
}

QString TConfigES::RangosEntAna() const
{
    QString t;
    for (int i = 1; i <= NumEntAna; ++i) {
        const TEntAna& e = EntAna(i);
        if (!e.Activo)
            continue;
        if (i % 2 == 1)
            t += QLatin1Char(',') + LetraPrimera(i, e.Diferencial);
        else if (!e.Diferencial)
            t += QLatin1Char(',') + LetraSegunda(i);
        t += QLatin1Char(',') + QString::number(e.Rango);
    }
    return t;
}

void TConfigES::LlenarDescriptor(TDescriptorCaptura& d) const
{
    d.Progreso = std::uint16_t(NumMuestras);
    d.Programadas = NumMuestras;
    d.GrupoActivo[0] = AlgunoActivo(entDig_, 1, 8) ? 1 : 0;
    d.GrupoActivo[1] = AlgunoActivo(entDig_, 9, 16) ? 1 : 0;
    for (int i = 1; i <= NumEntAna; ++i)
        d.GrupoActivo[std::size_t(i + 1)] = EntAna(i).Activo ? 1 : 0;
    for (int i = 1; i <= NumEntDig; ++i)
        d.EntradaDigital[std::size_t(i)] = EntDig(i).Activo ? 1 : 0;
}

} // namespace qv
