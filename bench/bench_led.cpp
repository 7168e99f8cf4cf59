// Setting an LED field's text to what it already shows against a new text, through the
// dispatch interface as the display window does it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>

#include "ledcontrol/vantaledctl.h"

namespace {

struct Window {
    QWidget window;
    QList<platform::IControl*> fields;
    explicit Window(int count) {
        window.resize(400, 400);
        for (int i = 0; i < count; ++i) {
            platform::IControl* c = nullptr;
            vantaled::classFactory().createInstance(&window, &c);
            c->widget()->setGeometry(10, 10 + 50 * i, 155, 46);
            fields.append(c);
        }
        window.show();
        QCoreApplication::processEvents();
    }
    ~Window() {
        for (auto* c : fields) c->release();
    }
};

void BM_SetTextUnchanged(benchmark::State& state) {
    Window w(1);
    const QVariant text = QStringLiteral("25.3");
    w.fields[0]->put(platform::DISPID_TEXT, text);
    for (auto _ : state) benchmark::DoNotOptimize(w.fields[0]->put(platform::DISPID_TEXT, text));
}
BENCHMARK(BM_SetTextUnchanged);

void BM_SetTextChanged(benchmark::State& state) {
    Window w(1);
    const QVariant texts[] = {QStringLiteral("25.3"), QStringLiteral("25.4")};
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(w.fields[0]->put(platform::DISPID_TEXT, texts[i++ & 1]));
}
BENCHMARK(BM_SetTextChanged);

// One 300 ms refresh of the seven fields, events included: Arg = fields whose value moved.
void BM_RefreshSevenFields(benchmark::State& state) {
    Window w(7);
    const int changed = int(state.range(0));
    const QVariant texts[] = {QStringLiteral("25.3"), QStringLiteral("25.4")};
    int tick = 0;
    for (auto _ : state) {
        for (int f = 0; f < 7; ++f)
            w.fields[f]->put(platform::DISPID_TEXT, texts[f < changed ? tick & 1 : 0]);
        QCoreApplication::processEvents();
        ++tick;
    }
}
BENCHMARK(BM_RefreshSevenFields)->Arg(0)->Arg(1)->Arg(7);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
