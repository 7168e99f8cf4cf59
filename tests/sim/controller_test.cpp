#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "controller.h"

using namespace sim;

namespace {

constexpr double kPhaseSeconds = 20;
constexpr double k3Bar = 38;

double innerBar(const Reply& r) {
    return (r.pair5 - 38) / k3Bar - 1;
}

// Phase codes the display windows have a name for.
std::set<int> namedPhases(int model) {
    switch (model) {
        case 1:
            return {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
        case 2:
        case 3:
        case 5:
            return {0, 1, 2, 3, 4, 5, 6, 7, 8};
        case 4:
            return {0, 1, 2};
        case 6:
            return {0, 1, 2, 3};
        default:
            return {};  // GZO NEO names every code
    }
}

struct CycleRun {
    std::vector<int> phases;  // distinct phases in order
    double seconds = 0;       // until status 99 again
    bool wellFormed = true;
};

// Drives one cycle as the program does: the start code in two frames, then polls.
CycleRun runCycle(Controller& c, int startCode) {
    CycleRun run;
    double t = 0;
    for (int i = 0; i < 2; ++i) c.command(startCode, 0, t);
    while (t < 3600) {
        c.command(0, 0, t);
        const Reply r = c.reply(1, t, k3Bar);
        const std::string bytes = encodeReply(r);
        for (std::size_t i = 3; i < 33; ++i) run.wellFormed &= bytes[i] >= '0' && bytes[i] <= '?';
        if (r.status == kStopped) break;
        if (run.phases.empty() || run.phases.back() != r.phase) run.phases.push_back(r.phase);
        t += 1;
    }
    run.seconds = t;
    return run;
}

}  // namespace

TEST(SimController, EveryCycleRunsNamedPhasesAndEndsStopped) {
    for (const Model& m : models()) {
        for (const Cycle& cycle : m.cycles) {
            SCOPED_TRACE(std::string(m.name) + " start code " + std::to_string(cycle.startCode));
            Controller c(m, kPhaseSeconds);
            const CycleRun run = runCycle(c, cycle.startCode);
            EXPECT_TRUE(run.wellFormed);
            EXPECT_GE(run.phases.size(), 3u);
            EXPECT_GE(run.seconds, 60);  // a few minutes at speed 1
            EXPECT_LE(run.seconds, 600);
            const std::set<int> named = namedPhases(m.code);
            for (int p : run.phases) {
                if (!named.empty()) {
                    EXPECT_TRUE(named.count(p)) << "phase " << p;
                }
            }
            EXPECT_EQ(c.phase(), 0);
        }
    }
}

TEST(SimController, PlateauReachesWorkingTemperatureAndSteamPressure) {
    struct Case {
        const char* model;
        int startCode;
        int plateauPhase;
        int sensor;  // index into T1..T6
        int temp;    // in the layout's unit
        double innerBar;
    };
    const Case cases[] = {
        {"KVS", 1, 7, 0, 134, 2.03},   {"PRX-T", 2, 7, 0, 121, 1.04},  {"GZO1", 1, 6, 1, 50, 0.5},
        {"TERMA", 1, 2, 0, 1800, NAN}, {"RT-58HW", 1, 2, 0, 850, NAN},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.model);
        Controller c(*modelByName(k.model), kPhaseSeconds);
        c.command(k.startCode, 0, 0);
        Reply last;
        for (double t = 0; t < 3600 && c.running(); t += 1) {
            const Reply r = c.reply(1, t, k3Bar);
            if (r.phase == k.plateauPhase) last = r;
        }
        EXPECT_NEAR(last.temps[k.sensor], k.temp, k.temp / 100.0);
        if (!std::isnan(k.innerBar)) {
            EXPECT_NEAR(innerBar(last), k.innerBar, 0.06);
        }
    }
}

TEST(SimController, RepeatedStartDoesNotRestart) {
    Controller c(*modelByName("kvs"), kPhaseSeconds);
    c.command(1, 0, 0);
    c.command(2, 0, 25);  // another cycle button while running
    EXPECT_EQ(c.phase(), 1);
    // The code repeated past the end of the cycle does not start another one.
    for (double t = 30; t <= 1000; t += 10) c.command(1, 0, t);
    EXPECT_EQ(c.status(), kStopped);
    c.command(0, 0, 1000);
    c.command(1, 0, 1001);
    EXPECT_EQ(c.status(), kRunning);
    EXPECT_EQ(c.phase(), 0);
}

TEST(SimController, AbortStopsWithTheModelsAbortPhase) {
    struct Case {
        const char* model;
        int abortPhase;  // -1: stopped at once
    };
    for (const Case& k :
         {Case{"KVS", -1}, Case{"GZO1", 8}, Case{"GZO NEO", 12}, Case{"TERMA", -1}}) {
        SCOPED_TRACE(k.model);
        Controller c(*modelByName(k.model), kPhaseSeconds);
        c.command(1, 0, 0);
        c.command(0, 0, 30);
        c.command(kAbortCode, 0, 40);
        c.command(kAbortCode, 0, 41);  // repeats are harmless
        if (k.abortPhase >= 0) {
            EXPECT_EQ(c.status(), kRunning);
            EXPECT_EQ(c.phase(), k.abortPhase);
            c.command(kAbortCode, 0, 40 + kPhaseSeconds);
        }
        EXPECT_EQ(c.status(), kStopped);
        c.command(kAbortCode, 0, 200);
        EXPECT_EQ(c.status(), kStopped);
    }
}

TEST(SimController, ParametersWriteAndReadBack) {
    const std::map<std::string, int> counts = {{"KVS", 9},     {"PRX-T", 8}, {"GZO1", 11},
                                               {"TERMA", 3},   {"GZO2", 13}, {"RT-58HW", 8},
                                               {"GZO NEO", 11}};
    for (const auto& [name, n] : counts) {
        SCOPED_TRACE(name);
        const Model& m = *modelByName(name);
        ASSERT_EQ(static_cast<int>(m.params.size()), n);
        Controller c(m, kPhaseSeconds);
        auto read = [&](int i) {
            c.command(kReadBase + i, 0, 0);
            const Reply r = c.reply(1, 0, k3Bar);
            return m.decimalLayout ? r.temps[5] : r.param;
        };
        for (int i = 1; i <= n; ++i) {
            EXPECT_EQ(read(i), m.params[i - 1].value) << "default " << i;
            const int v = 9000 + i * 7;
            c.command(kWriteBase + i, v, 0);
            c.command(kWriteBase + i, v, 0);
            EXPECT_EQ(read(i), v) << "written " << i;
        }
        c.command(kWriteBase + n + 1, 1234, 0);  // beyond the panel: ignored
        EXPECT_EQ(c.param(n + 1), 0);
    }
}

TEST(SimController, DecimalLayoutShowsT6UnlessAParameterIsRead) {
    Controller c(*modelByName("terma"), kPhaseSeconds);
    c.command(kReadBase + 4, 0, 0);  // left standing after a read-back of 3
    EXPECT_EQ(c.reply(4, 0, k3Bar).temps[5], 250);
    c.command(kReadBase + 1, 0, 0);
    EXPECT_EQ(c.reply(4, 0, k3Bar).temps[5], 1800);
}

TEST(SimController, WrittenSetpointDrivesThePlateau) {
    Controller c(*modelByName("TERMA"), kPhaseSeconds);
    c.command(kWriteBase + 1, 1500, 0);
    c.command(1, 0, 1);
    int t1 = 0;
    for (double t = 1; t < 3600 && c.running(); t += 1) {
        const Reply r = c.reply(4, t, k3Bar);
        if (r.phase == 2) t1 = r.temps[0];
    }
    EXPECT_NEAR(t1, 1500, 15);
}
