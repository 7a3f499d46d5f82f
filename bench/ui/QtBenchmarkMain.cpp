#include <benchmark/benchmark.h>

#include <QApplication>
#include <QByteArray>

#include <clocale>

// The widget benchmarks' main: an offscreen QApplication around Google Benchmark's run.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // Qt takes the user's locale for the C library too; the program's texts write numbers with
    // a point.
    std::setlocale(LC_NUMERIC, "C");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
