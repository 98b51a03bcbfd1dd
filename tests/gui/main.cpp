// The GUI tests run offscreen: no display is needed.
//   gui_tests [CLASS] [QtTest options and functions]
// CLASS (TranslationTest, FormTest, FlowTest, SectionFlowTest, DataFormsTest) runs that class only.
#include <QApplication>
#include <cstdio>
#include <cstring>
#include <vector>

int RunFlowTest(int argc, char** argv);
int RunTranslationTest(int argc, char** argv);
int RunFormTest(int argc, char** argv);
int RunSectionFlowTest(int argc, char** argv);
int RunDataFormsTest(int argc, char** argv);

int main(int argc, char** argv) {
    // Unbuffered: a test stopped by QtTest's watchdog still leaves what it
    // printed (a pipe is fully buffered on Windows).
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    struct Suite {
        const char* name;
        int (*run)(int, char**);
    };
    const Suite suites[] = {{"TranslationTest", RunTranslationTest},
                            {"FormTest", RunFormTest},
                            {"FlowTest", RunFlowTest},
                            {"SectionFlowTest", RunSectionFlowTest},
                            {"DataFormsTest", RunDataFormsTest}};
    const char* only = nullptr;
    std::vector<char*> args(argv, argv + argc);
    if (argc > 1)
        for (const Suite& suite : suites)
            if (std::strcmp(argv[1], suite.name) == 0) {
                only = suite.name;
                args.erase(args.begin() + 1);
            }
    int failed = 0;
    for (const Suite& suite : suites)
        if (!only || std::strcmp(only, suite.name) == 0)
            failed += suite.run(static_cast<int>(args.size()), args.data());
    return failed == 0 ? 0 : 1;
}
