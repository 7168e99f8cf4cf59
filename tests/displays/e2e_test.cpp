// The display windows against zuno-sim on the program's COM1, through the real main
// window, port, poll tick and reply decoder.
#include <QElapsedTimer>

#include "fixture.h"

using namespace ZUNO1;
using displays::DisplayWindow;

namespace {

bool waitFor(const std::function<bool()>& done, int ms) {
    return platform::WaitUntil(done, std::chrono::milliseconds(ms));
}

}  // namespace

class DisplayLineTest : public DisplayTest {
  protected:
    // A TERMA at slot 1, alone on the line, so each poll tick addresses it.
    DisplayWindow& start() {
        writeConfig(configText({TERMA, 0, 0, 0, 0, 0}));
        sim = std::make_unique<testing_support::SimProcess>(
            platform::comDevice(1),
            QStringList{"--slot", "1=TERMA", "--speed", "2", "--phase-seconds", "2", "--trace"});
        EXPECT_TRUE(sim->ready());
        Form1& main = Form1::get();
        EXPECT_FALSE(Form1::programEnded());
        EXPECT_TRUE(main.Comm1.PortOpen());
        main.estadoButton(1)->click();
        EXPECT_TRUE(form15::loaded());
        return form15::get();
    }
    void TearDown() override {
        DisplayTest::TearDown();
        sim.reset();
    }
    std::unique_ptr<testing_support::SimProcess> sim;
};

TEST_F(DisplayLineTest, TermaCycleRunsThroughItsPhasesAndAborts) {
    DisplayWindow& w = start();
    ASSERT_TRUE(waitFor([] { return MissedPolls[1] == 0 && Temp1[1] > 0; }, 5000));
    EXPECT_EQ(w.Label28->text(), "Parado");

    w.button("Command2")->click();  // "Inicia Ciclo", returns once delivered
    EXPECT_TRUE(dialogs->messages().isEmpty());
    ASSERT_TRUE(waitFor([&] { return w.Label28->text() == "Operando"; }, 5000));
    EXPECT_EQ(sim->framesWithCode(1, 1), 2);  // the command went out twice, then no more

    QStringList phases;
    const auto seen = [&] {
        const QString p = w.Label26->text();
        if (phases.isEmpty() || phases.last() != p) phases << p;
        return phases.size() >= 2;
    };
    EXPECT_TRUE(waitFor(seen, 10000)) << phases.join(", ").toStdString();
    const QStringList names = {"Iniciando Ciclo", "Aquecendo", "Esterilizando"};
    for (const QString& p : phases) EXPECT_TRUE(names.contains(p)) << p.toStdString();
    EXPECT_EQ(w.Label28->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_FALSE(w.shown("Label4").isEmpty());

    w.Command3->click();  // "Aborta Ciclo"
    EXPECT_TRUE(dialogs->messages().isEmpty());
    EXPECT_TRUE(waitFor([&] { return w.Label28->text() == "Parado"; }, 5000));
    EXPECT_EQ(sim->framesWithCode(1, kAbortCode), 2);
    EXPECT_EQ(w.Label26->text(), " ");
    EXPECT_EQ(CommandCode[1], 0);
}

TEST_F(DisplayLineTest, SilentControllerEndsTheCommandAndTheWindowGoesOn) {
    testing_support::ScopedLocale english(QLocale(QLocale::English, QLocale::UnitedStates));
    DisplayWindow& w = start();
    ASSERT_TRUE(waitFor([] { return MissedPolls[1] == 0 && Temp1[1] > 0; }, 5000));
    sim->command("silent 1");
    settle(300);

    // While the command waits, the window keeps refreshing.
    QString shownDuringWait;
    QTimer::singleShot(500, [] { Temp1[1] = 1234; });
    QTimer::singleShot(1500, [&] { shownDuringWait = w.shown("Label4"); });
    QElapsedTimer clock;
    clock.start();
    w.button("Command2")->click();
    EXPECT_LT(clock.elapsed(), 2 * ExchangeStepTimeout() + 2000);
    EXPECT_EQ(shownDuringWait, "123.4");
    ASSERT_EQ(dialogs->messages().size(), 1);
    EXPECT_EQ(dialogs->messages().value(0).text, SemResposta(1));
    EXPECT_EQ(CommandCode[1], 0);
    EXPECT_FALSE(Troca::running());

    // The controller speaks again: the same window starts a cycle.
    sim->command("speak 1");
    ASSERT_TRUE(waitFor([] { return MissedPolls[1] == 0 && Temp1[1] != 1234; }, 5000));
    ASSERT_TRUE(form15::loaded());
    EXPECT_TRUE(w.Timer1.isActive());
    w.button("Command2")->click();
    EXPECT_EQ(dialogs->messages().size(), 1);
    EXPECT_TRUE(waitFor([&] { return w.Label28->text() == "Operando"; }, 5000));
}
