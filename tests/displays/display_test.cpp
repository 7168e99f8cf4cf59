// The display windows against the slot table, without a controller line.
#include <QEvent>
#include <QLocale>

#include "fixture.h"

using namespace ZUNO1;
using displays::DisplayWindow;

namespace {

const QString kUnchanged = QStringLiteral("<unchanged>");

// Counts the paint events of the widgets it watches.
class PaintCounter : public QObject {
  public:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++counts[o];
        return false;
    }
    QHash<QObject*, int> counts;
};

}  // namespace

TEST_F(DisplayTest, EachModelOpensItsOwnWindow) {
    struct Case {
        int model;
        const char* className;
        const char* caption;
        QList<QPair<QString, int>> buttons;  // caption, command code
    };
    const Case cases[] = {
        {KVS, "Form8", "Display KVS", {{"Ciclo E/S", 1}, {"Ciclo E/R", 2}, {"Vapor Fluente", 3}}},
        {PRXT,
         "Form5",
         "Display PRXT",
         {{"Pacotes", 1}, {"Luvas", 2}, {"Liquidos", 3}, {"Bowie Dick Usuário", 4}}},
        {GZO1, "Form4", "Display Oxido de Etileno", {{"Inicia Esterilização", 1}}},
        {TERMA, "form15", "Display Terma", {{"Inicia Ciclo", 1}}},
        {GZO2, "Form40", "Display Oxido de Etileno 2", {{"Inicia Esterilização", 1}}},
        {RT58HW,
         "form18",
         "Display RT-58HW",
         {{"Inicia Ciclo Aquoso", 1}, {"Inicia Ciclo Alcoolico", 2}}},
        {GZONEO, "form20", "NEO - Display Oxido de Etileno", {{"Inicia Esterilização", 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.className);
        SelectedSlot = 5;
        DisplayOpeners[c.model]();
        ASSERT_TRUE(displays::DisplayLoaded(c.model));
        DisplayWindow* w = displays::Display(c.model);
        EXPECT_EQ(w->objectName(), c.className);
        EXPECT_EQ(w->windowTitle(), c.caption);
        EXPECT_TRUE(w->isVisible());
        EXPECT_TRUE(w->Timer1.isActive());
        EXPECT_EQ(w->Timer1.interval(), 300);
        EXPECT_EQ(w->Label1->text(), "5");  // shown at once, not 300 ms later

        // Opening again shows the same window.
        DisplayOpeners[c.model]();
        EXPECT_EQ(displays::Display(c.model), w);

        // The cycle buttons carry their codes; "Aborta Ciclo" carries 8.
        Answerer line;
        QList<Answerer::Frame> expected;
        for (const auto& [caption, code] : c.buttons) {
            QPushButton* b = nullptr;
            for (auto* candidate : w->findChildren<QPushButton*>())
                if (candidate->text() == caption) b = candidate;
            ASSERT_TRUE(b) << caption.toStdString();
            b->click();
            expected << Answerer::Frame{5, code} << Answerer::Frame{5, code};
            EXPECT_EQ(CommandCode[5], 0);
        }
        w->Command3->click();
        expected << Answerer::Frame{5, kAbortCode} << Answerer::Frame{5, kAbortCode};
        EXPECT_EQ(line.frames, expected);
        EXPECT_TRUE(dialogs->messages().isEmpty());

        // "Ok" unloads; the next opening loads a fresh window.
        w->Command1->click();
        EXPECT_FALSE(displays::DisplayLoaded(c.model));
    }
}

TEST_F(DisplayTest, StateAndPhaseFollowTheModelsTables) {
    struct Case {
        int model;
        int status;
        int phase;
        QString phaseShown;  // kUnchanged: what phase 1 showed stays
    };
    const Case cases[] = {
        {GZO1, 99, 4, " "},
        {TERMA, 99, 1, " "},
        {RT58HW, 99, 2, " "},
        {GZO1, 0, 4, "Pressurizando"},
        {PRXT, 0, 4, "Pressão 2"},
        {TERMA, 0, 4, kUnchanged},
        {TERMA, 2, 2, "Esterilizando"},
        {GZONEO, 1, 9, "Aeração Pulsante"},
        {GZONEO, 1, 11, "Aerando"},
        {GZONEO, 1, 12, "Abortando Ciclo"},
        {GZONEO, 1, 20, "Aeração Pulsante"},
        {GZONEO, 1, 255, "Aeração Pulsante"},
        {GZONEO, 1, -1, kUnchanged},
        {KVS, 3, 9, "Resfriamento"},
        {PRXT, 3, 9, kUnchanged},
        {GZO2, 0, 8, "Abortando Ciclo"},
        {GZO2, 0, 9, kUnchanged},
        {RT58HW, 0, 0, "Aeração"},
        {RT58HW, 0, 4, kUnchanged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "model " << c.model << " status " << c.status << " phase " << c.phase);
        DisplayWindow& w = open(c.model, 3);
        CycleStatus[3] = 0;
        CyclePhase[3] = 1;
        w.Timer1_Timer();
        const QString before = w.Label26->text();
        ASSERT_FALSE(before.trimmed().isEmpty());

        CycleStatus[3] = Integer(c.status);
        CyclePhase[3] = Integer(c.phase);
        w.Timer1_Timer();
        const bool stopped = c.status == 99;
        EXPECT_EQ(w.Label28->text(), stopped ? "Parado" : "Operando");
        EXPECT_EQ(w.Label28->palette().color(QPalette::WindowText),
                  stopped ? QColor(255, 0, 0) : QColor(0, 0, 255));
        EXPECT_EQ(w.Label26->text(), c.phaseShown == kUnchanged ? before : c.phaseShown);
        displays::UnloadDisplay(c.model);
    }
}

TEST_F(DisplayTest, ValuesShowThroughTheirPatterns) {
    struct Case {
        int model;
        const char* field;
        std::function<void()> set;
        QString brazil;
        QString english;
    };
    const Case cases[] = {
        {GZO1, "Label2", [] { InnerPressure[2] = -0.8; }, "-0,80 bar", "-0.80 bar"},
        {GZONEO, "Label3", [] { Humidity[2] = 57.5; }, "58 %", "58 %"},
        {GZO1, "Label4", [] { Temp1[2] = 121; }, "121", "121"},
        {KVS, "Label3", [] { OuterPressure[2] = 0.5; }, "0,50 bar", "0.50 bar"},
        {PRXT, "Label9", [] { Temp6[2] = 7; }, "7", "7"},
        {TERMA, "Label4", [] { Temp1[2] = 987; }, "98,7", "98.7"},
        {TERMA, "Label6", [] { Temp3[2] = 5; }, "0,5", "0.5"},
        {TERMA, "Label9", [] { Temp6[2] = 2505; }, "250,5", "250.5"},
        {GZO2, "Label3", [] { Temp7[2] = 37; }, "37", "37"},
        {GZO2, "Label2", [] { InnerPressure[2] = 1.005; }, "1,01 bar", "1.01 bar"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "model " << c.model << " " << c.field);
        resetSlotTable();
        CycleStatus.fill(99);
        c.set();
        for (const auto& [locale, expected] :
             {std::pair{QLocale(QLocale::Portuguese, QLocale::Brazil), c.brazil},
              std::pair{QLocale(QLocale::English, QLocale::UnitedStates), c.english}}) {
            testing_support::ScopedLocale scoped(locale);
            DisplayWindow& w = open(c.model, 2);
            EXPECT_EQ(w.shown(c.field), expected) << locale.name().toStdString();
        }
        displays::UnloadDisplay(c.model);
    }
}

TEST_F(DisplayTest, LedPanelsShowTenthsWithAFullStopAndRepaintOnlyChanges) {
    ASSERT_TRUE(ledRegistered);
    testing_support::ScopedLocale brazil(QLocale(QLocale::Portuguese, QLocale::Brazil));
    DisplayWindow& w = open(RT58HW, 6);
    for (int i = 0; i < 7; ++i) ASSERT_TRUE(w.Led1[i]) << i;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));

    // As the window's definition saved them: green, no resizing, 155 and 75 pixels.
    for (int i = 0; i < 7; ++i) {
        QWidget* panel = w.Led1[i]->widget();
        EXPECT_EQ(panel->width(), i < 6 ? 155 : 75) << i;
        EXPECT_EQ(w.Led1[i]->get(*w.Led1[i]->dispIdOf("LEDColour")).toInt(), 1);
        EXPECT_FALSE(w.Led1[i]->get(platform::DISPID_AUTOSIZE).toBool());
    }
    // Left column T1..T3, right column T4..T6, the humidity panel beside its label and "%".
    for (int i = 0; i < 3; ++i) {
        EXPECT_LT(w.Led1[i]->widget()->x(), w.Led1[i + 3]->widget()->x());
        EXPECT_EQ(w.Led1[i]->widget()->y(), w.Led1[i + 3]->widget()->y());
    }
    QLabel* percent = w.label("Label2");
    ASSERT_TRUE(percent);
    EXPECT_EQ(percent->text(), "%");
    EXPECT_GT(percent->x(), w.Led1[6]->widget()->geometry().right());
    EXPECT_EQ(w.label("Label3")->text(), "Umidade Relativa");

    Temp1[6] = 253;
    Temp2[6] = 5;
    Temp3[6] = 1000;
    Temp4[6] = 0;
    Temp5[6] = -5;  // not made by the decoder
    Temp6[6] = 9999;
    Humidity[6] = 57;
    w.Timer1_Timer();
    const QStringList expected = {"25.3", "0.5", "100.0", "0.0", "-0.5", "999.9", "57"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(w.shown(QStringLiteral("Led1(%1)").arg(i)), expected[i]) << i;

    PaintCounter paints;
    for (auto& led : w.Led1) led->widget()->installEventFilter(&paints);
    settle(50);
    paints.counts.clear();
    w.Timer1_Timer();
    w.Timer1_Timer();
    settle(50);
    EXPECT_TRUE(paints.counts.isEmpty()) << "unchanged texts repainted";

    Temp2[6] = 6;
    w.Timer1_Timer();
    settle(50);
    EXPECT_EQ(paints.counts.keys(), QList<QObject*>{w.Led1[1]->widget()});
    EXPECT_EQ(w.shown("Led1(1)"), "0.6");
}

TEST_F(DisplayTest, WasherWindowWithoutTheLedLibraryStillWorks) {
    platform::unregisterClass(displays::kLedProgId);
    DisplayWindow& w = open(RT58HW, 1);
    for (const auto& led : w.Led1) EXPECT_FALSE(led);
    Temp1[1] = 253;
    CycleStatus[1] = 0;
    CyclePhase[1] = 2;
    w.Timer1_Timer();
    EXPECT_EQ(w.Label26->text(), "Secando");
    EXPECT_EQ(w.shown("Led1(0)"), "");
    testing_support::savePng(&w, "form18-without-leds");
}

TEST_F(DisplayTest, LotIsStoredOnStartAndShownWhileTheCycleRuns) {
    DisplayWindow& w = open(RT58HW, 4);
    ASSERT_TRUE(w.Text1);
    EXPECT_EQ(w.Text1->maxLength(), 10);
    EXPECT_TRUE(w.Text1->isEnabled());

    // No lot typed yet and a cycle runs: the box shows nothing, not control characters.
    CycleStatus[4] = 0;
    w.Timer1_Timer();
    EXPECT_FALSE(w.Text1->isEnabled());
    EXPECT_EQ(w.Text1->text(), "");
    CycleStatus[4] = 99;
    w.Timer1_Timer();
    EXPECT_TRUE(w.Text1->isEnabled());

    QTest::keyClicks(w.Text1, "AB12");
    Answerer line;
    w.button("Command2")->click();
    EXPECT_EQ(LotRecord[4], "LAB12      ");
    EXPECT_EQ(line.frames.value(0), (Answerer::Frame{4, 1}));

    CycleStatus[4] = 0;
    w.Text1->setText("typed over");  // replaced by the stored lot
    w.Timer1_Timer();
    EXPECT_FALSE(w.Text1->isEnabled());
    EXPECT_EQ(w.Text1->text(), "AB12      ");

    // Stopped again: enabled, the text left alone.
    CycleStatus[4] = 99;
    w.Timer1_Timer();
    EXPECT_TRUE(w.Text1->isEnabled());
    EXPECT_EQ(w.Text1->text(), "AB12      ");

    // Ten characters at most; the second start button stores too.
    w.Text1->clear();
    QTest::keyClicks(w.Text1, "LOTE-2024-XYZ");
    EXPECT_EQ(w.Text1->text(), "LOTE-2024-");
    w.button("Command4")->click();
    EXPECT_EQ(LotRecord[4], "LLOTE-2024-");
    EXPECT_EQ(line.frames.value(2), (Answerer::Frame{4, 2}));

    // A start refused because another exchange runs leaves the stored lot alone.
    {
        Troca other;
        w.Text1->setText("OTHER");
        w.button("Command2")->click();
    }
    EXPECT_EQ(LotRecord[4], "LLOTE-2024-");
    EXPECT_EQ(dialogs->messages().size(), 1);
    EXPECT_EQ(dialogs->messages().value(0).text, TrocaOcupada());
}

TEST_F(DisplayTest, WindowFollowsTheSlotOfTheLastEstado) {
    testing_support::PtyLink port(platform::comDevice(1));
    writeConfig(configText({0, 3, 0, 1, 0, 0}));
    Form1& main = Form1::get();
    ASSERT_FALSE(Form1::programEnded());
    main.Timer1.stop();
    main.Timer2.stop();
    InnerPressure[2] = 0.25;
    InnerPressure[4] = -0.5;
    CycleStatus[4] = 1;
    CyclePhase[4] = 7;

    main.estadoButton(2)->click();
    ASSERT_TRUE(Form4::loaded());
    Form4& gzo = Form4::get();
    gzo.Timer1.stop();
    EXPECT_EQ(gzo.Label1->text(), "2");
    EXPECT_EQ(gzo.shown("Label2"), "0.25 bar");
    EXPECT_EQ(gzo.Label28->text(), "Parado");

    main.estadoButton(4)->click();
    ASSERT_TRUE(Form8::loaded());
    Form8::get().Timer1.stop();
    EXPECT_EQ(gzo.Label1->text(), "2");  // until its next refresh
    gzo.Timer1_Timer();
    EXPECT_EQ(gzo.Label1->text(), "4");
    EXPECT_EQ(gzo.shown("Label2"), "-0.50 bar");
    EXPECT_EQ(gzo.Label28->text(), "Operando");
    EXPECT_EQ(gzo.Label26->text(), "Aerando");  // slot 4's phase, the GZO1's name for it

    Answerer line;
    gzo.Command3->click();
    EXPECT_EQ(line.frames, (QList<Answerer::Frame>{{4, kAbortCode}, {4, kAbortCode}}));
    EXPECT_EQ(CommandCode[2], 0);
    EXPECT_EQ(CommandCode[4], 0);
}

TEST_F(DisplayTest, OkDuringItsOwnCommandClosesSafely) {
    DisplayWindow& w = open(KVS, 3);
    Answerer line;
    line.onFrame = [&] {
        if (line.frames.size() == 1) Form8::get().Command1->click();
    };
    w.button("Command2")->click();
    EXPECT_FALSE(Form8::loaded());
    EXPECT_EQ(line.frames.size(), 2);
    EXPECT_EQ(CommandCode[3], 0);

    // Reopened, it works as new.
    DisplayWindow& again = open(KVS, 3);
    CycleStatus[3] = 0;
    CyclePhase[3] = 7;
    again.Timer1_Timer();
    EXPECT_EQ(again.Label26->text(), "Esterilizando");
}

TEST_F(DisplayTest, WindowsAsPictures) {
    testing_support::ScopedLocale brazil(QLocale(QLocale::Portuguese, QLocale::Brazil));
    struct Live {
        int model;
        int status;
        int phase;
        std::array<int, 7> temps;
        double inner, outer, humidity;
    };
    const Live live[] = {
        {KVS, 1, 7, {134, 133, 133, 132, 121, 120, 0}, 2.05, 2.18, 0},
        {PRXT, 1, 3, {92, 91, 90, 90, 83, 82, 0}, -0.78, 2.1, 0},
        {GZO1, 1, 6, {55, 50, 49, 49, 48, 48, 0}, 0.48, 0, 57.5},
        {TERMA, 1, 2, {1802, 1795, 1790, 1786, 1781, 1770, 0}, 0, 0, 0},
        {GZO2, 1, 3, {55, 50, 49, 49, 48, 48, 41}, -0.6, 0, 0},
        {RT58HW, 1, 2, {853, 846, 839, 832, 812, 771, 0}, 0, 0, 15},
        {GZONEO, 1, 9, {40, 39, 38, 38, 37, 37, 0}, -0.61, 0, 22},
    };
    for (const Live& l : live) {
        const int slot = l.model == GZONEO ? 6 : l.model;
        CycleStatus[slot] = Integer(l.status);
        CyclePhase[slot] = Integer(l.phase);
        std::array<PerSlot<Integer>*, 7> temps = {&Temp1, &Temp2, &Temp3, &Temp4,
                                                  &Temp5, &Temp6, &Temp7};
        for (int i = 0; i < 7; ++i) (*temps[i])[slot] = Integer(l.temps[i]);
        InnerPressure[slot] = l.inner;
        OuterPressure[slot] = l.outer;
        Humidity[slot] = l.humidity;
        LotRecord[slot] = "LAB12      ";
        DisplayWindow& w = open(l.model, slot);
        settle(20);
        const QString path = testing_support::savePng(&w, w.objectName());
        EXPECT_FALSE(QImage(path).isNull()) << path.toStdString();
        // Nothing is cut: every control lies inside the window.
        for (QWidget* child : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child->isVisible()) {
                EXPECT_TRUE(w.rect().contains(child->geometry()))
                    << child->objectName().toStdString();
            }
    }
    // A stopped window too.
    SelectedSlot = 4;
    CycleStatus[4] = 99;
    displays::Display(TERMA)->Timer1_Timer();
    testing_support::savePng(displays::Display(TERMA), "form15-stopped");
}
