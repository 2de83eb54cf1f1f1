#pragma once

#include "model/generadores.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>

namespace qv {

// Sample memory of the unit, in words.
inline constexpr int Capacidad = 63487;

// Snapshot of the programmed capture kept by the device link and restored from a
// configuration before a read-back.
struct TDescriptorCaptura {
    std::uint16_t Progreso = 0;                   // sample count
    std::int32_t Programadas = 0;                 // samples of the capture programmed; 0 unknown
    std::array<std::uint8_t, 10> GrupoActivo{};   // 0 port A, 1 port B, 2..9 analog inputs 1..8
    std::array<std::uint8_t, 17> EntradaDigital{}; // entries 1..16 used, 0 unused
};

// One channel of the unit.
struct TEntSal {
    QString Nombre;
    bool Activo = false;
    int Numero = 0; // number inside its group, from 1
};

struct TEntDig : TEntSal {};

struct TEntAna : TEntSal {
    float Factor = 1.0f;
    QString Unidad = QStringLiteral("Voltios");
    std::uint8_t Rango = 0; // 0 +-10V, 1 +-5V, 2 +-2V, 3 +-1V, 4 0,5V, 5 +-0,2V
    bool Diferencial = false;
};

// Outputs own their generator; copying copies it.
struct TSalDig : TEntSal {
    TSalDig() = default;
    TSalDig(const TSalDig& o);
    TSalDig& operator=(const TSalDig& o);
    TSalDig(TSalDig&&) = default;
    TSalDig& operator=(TSalDig&&) = default;
    std::unique_ptr<TGenDigital> Generador;
};

struct TSalAna : TEntSal {
    TSalAna() = default;
    TSalAna(const TSalAna& o);
    TSalAna& operator=(const TSalAna& o);
    TSalAna(TSalAna&&) = default;
    TSalAna& operator=(TSalAna&&) = default;
    std::unique_ptr<TGenAnalogico> Generador;
};

// Full scale in volts of a range code (0 for unknown codes).
float FondoEscalaRango(int rango);
// Volts per converter count of a range code: 2 x full scale / 4096 (0 for unknown codes).
float ResolucionRango(int rango);
// File token of a range code ("10V", "5V", "2V", "1V", "05V", "02V"); empty when unknown.
QString TokenRango(int rango);
// Name of a range code as the windows show it ("\u00b110V" ... "0,5V", "\u00b10,2V");
// empty when unknown.
QString NombreRango(int rango);

// Channel letters of the device commands: every letter followed by a comma.
struct TLetras {
    int cuenta = 0;
    QString texto;
    bool alguna = false;
};

// Everything the unit is asked to do in one capture. A value: copies are deep.
// Channel groups are indexed from 1 as the documents number them
// (EntDig(1) .. EntDig(16)); out-of-range indices are a programming error.
class TConfigES {
public:
    TConfigES(); // the default configuration: every channel inactive, default names
    TConfigES(const TConfigES&) = default;
    TConfigES& operator=(const TConfigES&) = default;
    TConfigES(TConfigES&&) = default;
    TConfigES& operator=(TConfigES&&) = default;

    static constexpr int NumEntDig = 16;
    static constexpr int NumEntAna = 8;
    static constexpr int NumSalDig = 16;
    static constexpr int NumSalAna = 4;

    TEntDig& EntDig(int i) { return entDig_.at(i - 1); }
    const TEntDig& EntDig(int i) const { return entDig_.at(i - 1); }
    TEntAna& EntAna(int i) { return entAna_.at(i - 1); }
    const TEntAna& EntAna(int i) const { return entAna_.at(i - 1); }
    TSalDig& SalDig(int i) { return salDig_.at(i - 1); }
    const TSalDig& SalDig(int i) const { return salDig_.at(i - 1); }
    TSalAna& SalAna(int i) { return salAna_.at(i - 1); }
    const TSalAna& SalAna(int i) const { return salAna_.at(i - 1); }

    // Same time base: NumMuestras, both units, Periodo and TiempoAnalisis (exact).
    bool Igual(const TConfigES& otra) const;
    // Periodo in seconds: /1e6 (0), /1e3 (1), x1 (2), x60 (3, minutes); other codes x1.
    double PeriodoSegundos() const;

    // Operand number -> channel name ("" for 0 or out of range).
    QString NombreCanalAna(int n) const; // 1-8 EntAna, 9-12 SalAna
    QString NombreCanalDig(int n) const; // 1-16 EntDig, 17-32 SalDig

    bool HaySalidasDig() const;
    bool HaySalidasAna() const;

    TLetras LetrasEntDig() const;
    TLetras LetrasSalDig() const;
    TLetras LetrasEntAna() const;
    TLetras LetrasSalAna() const;
    // ",c,0,d,1" style list of active analog inputs and their range digits.
    QString RangosEntAna() const;

    void LlenarDescriptor(TDescriptorCaptura& d) const;

    std::int32_t NumMuestras = 0;
    double Periodo = 0;        // in UnidadPeriodo
    double TiempoAnalisis = 0; // in UnidadAnalisis
    double Retardo = 0;        // seconds
    std::uint8_t UnidadPeriodo = Unidad::Mili;
    std::uint8_t UnidadAnalisis = Unidad::Mili;
    bool Rapida = false;

private:
    std::array<TEntDig, NumEntDig> entDig_;
    std::array<TEntAna, NumEntAna> entAna_;
    std::array<TSalDig, NumSalDig> salDig_;
    std::array<TSalAna, NumSalAna> salAna_;
};

} // namespace qv
