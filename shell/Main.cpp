// Sarnova's program entry: the program-wide objects, the start-up sequence and the event loop.
#include <QStringList>

#include <clocale>
#include <string>
#include <vector>

#include "foundation/TextUtils.h"
#include "shell/MainUnit.h"
#include "shell/ProgramStart.h"
#include "shell/ViewUnit.h"

int main(int argc, char* argv[]) {
    sarnova::InitializeProgramFolders(argc > 0 ? argv[0] : "");
    sarnova::StartModelGlobals();
    sarnova::RegisterDocumentWindow();
    int Result = 0;
    {
        sarnova::TSarnovaApplication App(argc, argv);
        // Qt takes the user's locale for the C library; numbers in files and on screen keep ".".
        std::setlocale(LC_NUMERIC, "C");
        // Qt's own options (-platform, -style ...) are gone from the arguments by now.
        const QStringList Given = sarnova::TSarnovaApplication::arguments();
        std::vector<std::string> Arguments;
        for (qsizetype I = 1; I < Given.size(); ++I) Arguments.push_back(Given[I].toStdString());
        auto MainForm = sarnova::StartProgram(Arguments);
        Result = App.exec();
    }
    sarnova::StopModelGlobals();
    return Result;
}
