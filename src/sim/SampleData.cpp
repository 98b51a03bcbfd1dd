#include "sim/SampleData.h"

#include <array>

namespace vimo::sim {

namespace {

int Spread(int module, int index) { return (module * 7 + index * 3) % 5 - 2; }

}  // namespace

ThresholdRow FactoryThresholds(int row) {
    switch (row) {
        case 1: return {45, 60, 55, 8};   // optical smoke (types 1 and 8)
        case 2: return {40, 52, 46, 8};   // type 2, calibrated
        case 3: return {42, 56, 50, 8};   // type 3, calibrated
        case 4: case 5: case 6: case 7: return {48, 64, 56, 6};
        case 8: return {40, 64, 56, 10};  // type 9, manual call point
        case 9: return {40, 64, 56, 10};  // type 10, input/output module
        default: return {44, 64, 56, 8};  // types 11..15
    }
}

uint8_t NominalReading(int type, int module, int index) {
    int base = 20;
    switch (type) {
        case 2: base = 22; break;
        case 3: base = 24; break;
        case 4: case 5: case 6: case 7: base = 24; break;
        case 9: base = 26; break;
        case 10: base = 28; break;
        case 11: case 12: case 13: case 14: case 15: base = 22; break;
        default: break;
    }
    return static_cast<uint8_t>(base + Spread(module, index));
}

uint8_t CalibrationValue(int type, int module, int index) {
    if (type == 2) return static_cast<uint8_t>(64 + Spread(module, index));
    if (type == 3) return static_cast<uint8_t>(66 + Spread(module, index));
    return NominalReading(type, module, index);
}

uint8_t ReferenceLevel(int type, int module, int index) {
    if (type == 2) return static_cast<uint8_t>(54 + Spread(module, index) / 2);
    if (type == 3) return static_cast<uint8_t>(58 + Spread(module, index) / 2);
    return 0;
}

std::span<const SamplePoint> SamplePoints() {
    static constexpr std::array<SamplePoint, 44> kPoints = {{
        {1, 1, 1, 1, 1, "Ingresso"},        {1, 2, 1, 1, 1, "Reception"},
        {1, 3, 1, 1, 1, "Corridoio A"},     {1, 4, 1, 1, 1, "Corridoio A"},
        {1, 5, 1, 1, 2, "Ufficio"},         {1, 6, 1, 1, 2, "Ufficio"},
        {1, 7, 1, 1, 2, "Ufficio"},         {1, 8, 1, 1, 2, "Ufficio"},
        {1, 9, 1, 1, 3, "Sala riunioni"},   {1, 10, 1, 1, 3, "Sala riunioni"},
        {1, 11, 1, 1, 3, "Archivio"},       {1, 12, 1, 1, 3, "Archivio"},
        {1, 13, 2, 1, 4, "Magazzino"},      {1, 14, 2, 1, 4, "Magazzino"},
        {1, 15, 3, 1, 4, "Cucina"},         {1, 16, 3, 1, 4, "Centrale term"},
        {1, 17, 7, 1, 5, "Locale UPS"},     {1, 18, 9, 2, 5, "Pulsante A"},
        {1, 19, 9, 2, 5, "Pulsante B"},     {1, 20, 10, 1, 6, "Serrande"},
        {1, 21, 10, 2, 6, "Sirena est."},   {1, 22, 11, 1, 7, "Vano scala"},
        {1, 23, 12, 1, 7, "Sottotetto"},
        {2, 1, 1, 1, 2, "Piano 1"},         {2, 2, 1, 1, 2, "Piano 1"},
        {2, 3, 1, 1, 2, "Piano 1"},         {2, 4, 1, 1, 2, "Piano 1"},
        {2, 5, 1, 1, 3, "Piano 2"},         {2, 6, 1, 1, 3, "Piano 2"},
        {2, 7, 1, 1, 3, "Piano 2"},         {2, 8, 1, 1, 3, "Piano 2"},
        {2, 9, 1, 1, 3, "Mensa"},           {2, 10, 1, 1, 3, "Mensa"},
        {2, 11, 3, 1, 4, "Locale caldaie"}, {2, 12, 3, 1, 4, "Autorimessa"},
        {2, 13, 9, 2, 5, "Pulsante C"},     {2, 14, 1, 1, 5, "Deposito"},
        // The points of the concentrator units: inputs 105..108, outputs
        // 129..130, the mixed unit's first point 193.
        {1, 105, 10, 1, 9, "Porta REI 1"},  {1, 106, 10, 1, 9, "Porta REI 2"},
        {1, 107, 10, 1, 9, "Allagamento"},  {1, 108, 10, 1, 9, "Gas cucina"},
        {1, 129, 10, 2, 10, "Sirena int."}, {1, 130, 10, 2, 10, "Evacuatore"},
        {1, 193, 10, 1, 11, "Ingresso misto"},
    }};
    return kPoints;
}

}  // namespace vimo::sim
