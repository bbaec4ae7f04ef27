// The window's two interactive paths on the largest symbol (144 x 144), each beside its
// baseline in the same run:
//   preview refresh (encode + disc picture)   vs  encoding alone
//   generate (ConvertClick to the highlighted editor)  vs  setPlainText without a highlighter
// Run: QT_QPA_PLATFORM=offscreen build/bin/window_bench
#include "app/CodePage.h"
#include "app/GenerateController.h"
#include "app/JobPanel.h"
#include "app/KorvexApplication.h"
#include "app/NCEditor.h"
#include "app/AppPlatform.h"
#include "app/SymbolPreview.h"
#include "app/TMainForm.h"
#include "datamatrix/TDatamatrix.h"

#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <benchmark/benchmark.h>

#include <memory>

using namespace korvex;

namespace {

// 1,500 letters: more than the 1,304 codewords of 132 x 132, so AUTO picks 144 x 144.
std::string largestText() {
    std::string text;
    for (int i = 0; i < 1500; ++i)
        text += static_cast<char>('A' + i % 26);
    return text;
}

struct Window {
    QTemporaryDir home;
    std::unique_ptr<app::TMainForm> form;
    Window() {
        app::TStartOptions options;
        options.DataFolder = app::ToPath(QStringLiteral(KORVEX_DATA_DIR));
        options.ConfigFolder = app::ToPath(home.filePath("config/"));
        options.ShowIntro = false;
        form = std::make_unique<app::TMainForm>(options);
        form->resize(1100, 720);
        form->show();
        form->Startup();
        form->LadeVorlage(QStringLiteral(KORVEX_DATA_DIR "/examples/typenschild.ncm"));
        form->findChild<QPlainTextEdit*>("EText")->setPlainText(app::FromCodePage(largestText()));
        form->findChild<app::SymbolPreview*>()->DMTimerTimer();
        QCoreApplication::processEvents();
    }
};

// Torn down in main, while the application still exists.
std::unique_ptr<Window> shared;

Window& window() {
    if (!shared) shared = std::make_unique<Window>();
    return *shared;
}

void BM_EncodeOnly(benchmark::State& state) {
    datamatrix::TDatamatrix symbol;
    symbol.Code = largestText();
    for (auto _ : state) {
        symbol.rebuild = true;
        symbol.paintBarcode(nullptr);
        benchmark::DoNotOptimize(symbol.MatrixCols());
    }
    state.counters["columns"] = symbol.MatrixCols();
}
BENCHMARK(BM_EncodeOnly)->Unit(benchmark::kMillisecond);

void BM_PreviewRefresh(benchmark::State& state) {
    app::SymbolPreview& preview = *window().form->findChild<app::SymbolPreview*>();
    const std::string code = window().form->Panel().Code();
    for (auto _ : state) {
        preview.ETextChange(code, content::TContentKind::Text);
        preview.DMTimerTimer();
        benchmark::DoNotOptimize(preview.Picture().width());
    }
    state.counters["columns"] = preview.MatrixCols();
    state.counters["pixels"] = preview.Picture().width();
}
BENCHMARK(BM_PreviewRefresh)->Unit(benchmark::kMillisecond);

void BM_SetPlainTextWithoutHighlighter(benchmark::State& state) {
    Window& w = window();
    w.form->Generator().ConvertClick();
    QCoreApplication::processEvents();
    const QString program = w.form->Editor().toPlainText();
    QPlainTextEdit plain;
    plain.setFont(app::EditorFont());
    plain.resize(800, 600);
    plain.show();
    for (auto _ : state) {
        plain.setPlainText(program);
        QCoreApplication::processEvents();
    }
    state.counters["lines"] = plain.blockCount();
}
BENCHMARK(BM_SetPlainTextWithoutHighlighter)->Unit(benchmark::kMillisecond);

void BM_GenerateToHighlightedEditor(benchmark::State& state) {
    Window& w = window();
    for (auto _ : state) {
        w.form->Generator().ConvertClick();
        // The editor colours the lines it shows when the event loop paints it.
        QCoreApplication::processEvents();
    }
    const QTextDocument& document = *w.form->Editor().document();
    int coloured = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        coloured += block.layout()->formats().isEmpty() ? 0 : 1;
    state.counters["lines"] = document.blockCount();
    state.counters["coloured"] = coloured;
}
BENCHMARK(BM_GenerateToHighlightedEditor)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app::KorvexApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    shared.reset();
    return 0;
}
