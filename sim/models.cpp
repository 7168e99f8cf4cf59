#include "models.h"

#include <cctype>

namespace sim {

namespace {

constexpr double SP = kSetpoint;
constexpr double SAT = kSaturated;
constexpr double JKT = kJacket;

// Steam sterilizers: three vacuum pulses with steam between them, then heating and
// the sterilization plateau (phases 0..7).
std::vector<Step> steamWithPrevacuum(double plateauWeight) {
    return {
        {0, 0.5, 40, 0.0, JKT, 0},  {1, 1.0, 55, -0.8, JKT, 0},          {2, 1.0, 105, 0.3, JKT, 0},
        {3, 1.0, 75, -0.8, JKT, 0}, {4, 1.0, 112, 0.6, JKT, 0},          {5, 1.0, 85, -0.8, JKT, 0},
        {6, 1.0, SP, SAT, JKT, 0},  {7, plateauWeight, SP, SAT, JKT, 0},
    };
}

std::vector<Step> operator+(std::vector<Step> a, const std::vector<Step>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<Step> kSteamDrying = {{8, 1.5, 95, -0.8, JKT, 0}};
const std::vector<Step> kSteamCooling = {{9, 1.5, 50, 0.0, 0.0, 0}};
const std::vector<Step> kSteamFlowing = {
    {0, 0.5, 40, 0.0, JKT, 0}, {6, 1.0, SP, SAT, JKT, 0}, {7, 1.5, SP, SAT, JKT, 0}};

// Ethylene oxide: conditioning, gas, exposure (phases 0..6).
const std::vector<Step> kOxideExposure = {
    {0, 0.5, 30, 0.0, 0, 40},  {1, 1.0, SP, 0.0, 0, 35}, {2, 1.0, SP, -0.65, 0, 20},
    {3, 1.0, SP, -0.6, 0, 60}, {4, 1.0, SP, 0.5, 0, 55}, {5, 1.0, SP, 0.5, 0, 55},
    {6, 2.0, SP, 0.5, 0, 55},
};
const std::vector<Step> kOxideAeration = {{7, 1.5, 35, -0.5, 0, 30}};
const std::vector<Step> kNeoAeration = {
    {7, 0.5, 42, -0.6, 0, 25}, {8, 0.5, 41, 0.0, 0, 30},   {9, 0.5, 39, -0.6, 0, 22},
    {10, 0.5, 38, 0.0, 0, 28}, {11, 1.0, 35, -0.3, 0, 30},
};

const std::vector<Param> kOxideParams = {
    {"Temperatura Camara Externa", 55},
    {"Temperatura Camara Interna", 50},
    {"Pressao de Vacuo", 65},
    {"Umidade Relativa", 60},
    {"Pressao Oxido de Etileno", 50},
    {"Pressao Alarme Oxido de Etileno", 80},
    {"Tempo de Uniformizacao", 30},
    {"Tempo de Esterilizacao", 300},
    {"Tempo de Aeracao", 1200},
    {"Tempo Maximo Entrada de Gas", 15},
    {"Senha", 1234},
};

std::vector<Model> buildModels() {
    std::vector<Model> m;
    m.push_back({1,
                 "KVS",
                 false,
                 false,
                 Pair4::OuterPressure,
                 25,
                 0,
                 {1.0, 0.99, 0.985, 0.98, 0.9, 0.89, 0.0},
                 6,
                 1,
                 -1,
                 {
                     {"Pressao Camara Externa", 210},
                     {"Pressao Camara Interna", 205},
                     {"Tempo de Esterilizacao", 400},
                     {"Tempo de Secagem", 1500},
                     {"Tempo de Resfriamento", 1000},
                     {"Temperatura de Esterilizacao", 134},
                     {"Pre Vacuo", 0},
                     {"Resfriamento", 0},
                     {"Senha", 1234},
                 },
                 {
                     {1, "Ciclo E/S", 0, steamWithPrevacuum(1.5) + kSteamDrying},
                     {2, "Ciclo E/R", 0, steamWithPrevacuum(1.5) + kSteamCooling},
                     {3, "Vapor Fluente", 100, kSteamFlowing + kSteamCooling},
                 }});
    m.push_back({2,
                 "PRX-T",
                 false,
                 false,
                 Pair4::OuterPressure,
                 25,
                 0,
                 {1.0, 0.99, 0.985, 0.98, 0.9, 0.89, 0.0},
                 5,
                 1,
                 -1,
                 {
                     {"Pressao Camara Externa", 210},
                     {"Pressao Camara Interna", 205},
                     {"Tempo de Esterilizacao", 700},
                     {"Tempo de Secagem", 1500},
                     {"Temperatura de Esterilizacao", 134},
                     {"Pressao de Alarme", 250},
                     {"Pre Vacuo", 0},
                     {"Senha", 1234},
                 },
                 {
                     {1, "Pacotes", 134, steamWithPrevacuum(1.5) + kSteamDrying},
                     {2, "Luvas", 121, steamWithPrevacuum(1.5) + kSteamDrying},
                     {3, "Liquidos", 121, kSteamFlowing},
                     {4, "Bowie Dick Usuario", 0, steamWithPrevacuum(0.5) + kSteamDrying},
                 }});
    m.push_back({3,
                 "GZO1",
                 false,
                 false,
                 Pair4::Humidity,
                 25,
                 40,
                 {1.1, 1.0, 0.98, 0.97, 0.96, 0.95, 0.0},
                 2,
                 1,
                 8,
                 kOxideParams,
                 {{1, "Inicia Esterilizacao", 0, kOxideExposure + kOxideAeration}}});
    m.push_back({4,
                 "TERMA",
                 true,
                 false,
                 Pair4::None,
                 25,
                 0,
                 {1.0, 0.995, 0.99, 0.985, 0.98, 0.97, 0.0},
                 1,
                 10,
                 -1,
                 {
                     {"Temperatura de Trabalho", 1800},
                     {"Tempo de Esterilizacao", 200},
                     {"Senha", 1234},
                 },
                 {{1,
                   "Inicia Ciclo",
                   0,
                   {{0, 0.5, 40, 0, 0, 0}, {1, 3.0, SP, 0, 0, 0}, {2, 3.0, SP, 0, 0, 0}}}}});
    std::vector<Param> gzo2Params = kOxideParams;
    gzo2Params[3] = {"Tempo de Umidificacao", 30};
    gzo2Params.push_back({"Pressao de Vacuo de Aeracao", 50});
    gzo2Params.push_back({"Temperatura de Alarme", 65});
    m.push_back({5,
                 "GZO2",
                 false,
                 false,
                 Pair4::Temp7,
                 25,
                 40,
                 {1.1, 1.0, 0.98, 0.97, 0.96, 0.95, 0.8},
                 2,
                 1,
                 8,
                 gzo2Params,
                 {{1, "Inicia Esterilizacao", 0, kOxideExposure + kOxideAeration}}});
    m.push_back({6,
                 "RT-58HW",
                 true,
                 true,
                 Pair4::None,
                 25,
                 45,
                 {1.0, 0.99, 0.98, 0.97, 0.95, 0.9, 0.0},
                 1,
                 10,
                 -1,
                 {
                     {"Temperatura de Secagem", 850},
                     {"Temperatura de Resfriamento", 400},
                     {"Temperatura de Alarme", 950},
                     {"Tempo de Aeracao", 10},
                     {"Tempo de Aquecimento", 20},
                     {"Tempo de Secagem", 30},
                     {"Tempo de Resfriamento", 15},
                     {"Senha", 1234},
                 },
                 {
                     {1,
                      "Inicia Ciclo Aquoso",
                      0,
                      {{1, 2.0, 60, 0, 0, 95},
                       {2, 2.0, SP, 0, 0, 15},
                       {3, 1.5, 40, 0, 0, 20},
                       {0, 1.0, 30, 0, 0, 40}}},
                     {2,
                      "Inicia Ciclo Alcoolico",
                      0,
                      {{1, 1.5, 45, 0, 0, 80},
                       {2, 1.5, SP, 0, 0, 10},
                       {3, 1.5, 40, 0, 0, 20},
                       {0, 1.0, 30, 0, 0, 40}}},
                 }});
    m.push_back({7,
                 "GZO NEO",
                 false,
                 false,
                 Pair4::Humidity,
                 25,
                 40,
                 {1.1, 1.0, 0.98, 0.97, 0.96, 0.95, 0.0},
                 2,
                 1,
                 12,
                 kOxideParams,
                 {{1, "Inicia Esterilizacao", 0, kOxideExposure + kNeoAeration}}});
    return m;
}

std::string squeeze(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (std::isalnum(static_cast<unsigned char>(c)))
            out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

}  // namespace

const Cycle* Model::cycleFor(int startCode) const {
    for (const Cycle& c : cycles) {
        if (c.startCode == startCode) return &c;
    }
    return nullptr;
}

const std::vector<Model>& models() {
    static const std::vector<Model> all = buildModels();
    return all;
}

const Model* modelByCode(int code) {
    for (const Model& m : models()) {
        if (m.code == code) return &m;
    }
    return nullptr;
}

const Model* modelByName(std::string_view text) {
    const std::string key = squeeze(text);
    if (key.size() == 1 && key[0] >= '1' && key[0] <= '7') return modelByCode(key[0] - '0');
    for (const Model& m : models()) {
        if (squeeze(m.name) == key) return &m;
    }
    return nullptr;
}

}  // namespace sim
