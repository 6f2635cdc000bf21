#include "shell/ProgramStart.h"

#include <algorithm>
#include <exception>
#include <system_error>

#include "document/GeometryClasses.h"
#include "startup/RegisterClasses.h"
#include "document/Settings.h"
#include "document/ui/ContourForm.h"
#include "document/ui/DefaultGeometryFrame.h"
#include "document/ui/PlineFrame.h"
#include "entities/ui/DimensionFrame.h"
#include "entities/ui/CoonsPatchFrame.h"
#include "entities/ui/EntityFrame.h"
#include "entities/ui/ExtrudedSurfaceFrame.h"
#include "entities/ui/NPatchFrame.h"
#include "entities/ui/RuledSurfaceFrame.h"
#include "entities/ui/GGonFrame.h"
#include "entities/ui/GregoryFrame.h"
#include "entities/ui/ImagePlaneGL.h"
#include "entities/ui/PlaneFrame.h"
#include "entities/ui/PointListFrame.h"
#include "entities/ui/MeshFrame.h"
#include "entities/ui/NewSurfForm.h"
#include "exchange/ui/IGESForm.h"
#include "exchange/ui/GFExportDlg.h"
#include "exchange/ui/OFFFileForm.h"
#include "exchange/ui/SusPropForm.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "curvenet/ui/XTCurveFrame.h"
#include "curvenet/ui/XTSurfaceFrame.h"
#include "hulls/ui/TarvoCurveFrame.h"
#include "hulls/ui/CorvaneFrame.h"
#include "hulls/ui/HalvornFrame.h"
#include "hulls/ui/TarvoHullFrame.h"
#include "hulls/ui/TarvoSurfaceFrame.h"
#include "naval/ui/GroupFrame.h"
#include "naval/ui/PlistFrame.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtImageReader.h"
#include "platform/qt/QtUserDialogs.h"
#include "shell/MainUnit.h"
#include "shell/SplashUnit.h"
#include "views/GLRenderer.h"
#include "entities/ui/PressureFieldFrame.h"
#include "naval/ui/OpeningFrame.h"

namespace sarnova {

// The entity classes register here, after the settings; the registry exists from the start, so that
// the class list has its header even before any class is registered.
void StartModelGlobals() {
    InitializeSettings();
    if (!GGeometryClasses) GGeometryClasses = std::make_unique<TGeometryClasses>();
    RegisterGeometryClasses();
}

void StopModelGlobals() {
    GGeometryClasses.reset();
    FinalizeSettings();
}

TSarnovaApplication::TSarnovaApplication(int& Argc, char** Argv)
    : QApplication(Argc, Argv), Dialogs(std::make_unique<TQtUserDialogs>()),
      Clipboard(std::make_unique<TQtClipboard>()), ImageReader(std::make_unique<TQtImageReader>()) {
    SetImageReader(ImageReader.get());
    if (GExceptionHandler) GExceptionHandler->UserDialogs = Dialogs.get();
    // Copies of the program reach the desktop's clipboard.
    SetTextClipboard(Clipboard.get());
}

TSarnovaApplication::~TSarnovaApplication() {
    if (GetImageReader() == ImageReader.get()) SetImageReader(nullptr);
    SetTextClipboard(nullptr);
    if (GExceptionHandler && GExceptionHandler->UserDialogs == Dialogs.get()) GExceptionHandler->UserDialogs = nullptr;
}

bool TSarnovaApplication::notify(QObject* Receiver, QEvent* Event) {
    try {
        return QApplication::notify(Receiver, Event);
    } catch (const std::exception& Error) {
        if (GExceptionHandler) GExceptionHandler->HandleException(Error);
    }
    return false;
}

std::optional<std::filesystem::path> CommandLineDocument(const std::vector<std::string>& Arguments) {
    if (Arguments.size() != 1) return std::nullopt;
    const std::filesystem::path Path(Arguments.front());
    std::error_code Ignored;
    if (!std::filesystem::is_regular_file(Path, Ignored)) return std::nullopt;
    return Path;
}

std::unique_ptr<TMainForm> StartProgram(const std::vector<std::string>& Arguments, int SplashMilliseconds) {
    // The property frames and dialogs that entities ask the GUI for.
    RegisterDefaultFrames();
    RegisterCurveUi();
    RegisterPlaneUi();
    RegisterPointListUi();
    RegisterSurfaceUi();
    RegisterNewSurfaceDialog();
    RegisterGregoryUi();
    RegisterPrimitiveFrames();
    RegisterGGonFrame();
    RegisterPlistUi();
    RegisterGroupUi();
    RegisterDimensionFrame();
    RegisterImagePlaneUi();
    RegisterTarvoCurveFrame();
    RegisterXTCurveFrame();
    RegisterXTSurfaceFrame();
    RegisterExtrudedSurfaceFrame();
    RegisterRuledSurfaceFrame();
    RegisterCoonsPatchFrame();
    RegisterNPatchFrame();
    InstallContourSetupDialogs();
    RegisterPressureFieldUi();
    RegisterOpeningUi();
    RegisterIGESForm();
    RegisterHalvornFrame();
    RegisterCorvaneFrame();
    RegisterSusPropForm();
    RegisterOFFFileForm();
    RegisterGFExportDlg();
    // The shaded renderer of entities in the rendered display state.
    InstallGLRenderer();
    RegisterTarvoSurfaceFrame();
    RegisterTarvoHullFrame();

    // The association is taken back at every start when another program holds it. A failure is no
    // reason to stop: it is noted on the console.
    try {
        if (!IsFileTypeRegistered(".geo", true)) RegisterFileType(".geo", 1);
    } catch (const std::exception& Error) {
        GConsole->WriteLine(Error.what());
    }

    auto Splash = std::make_unique<TSplashForm>();
    Splash->show();
    if (!GProcessMessages) GProcessMessages = [] { QCoreApplication::processEvents(); };
    WaitMilliseconds(static_cast<std::uint16_t>(std::clamp(SplashMilliseconds, 0, 65535)));

    QApplication::setApplicationDisplayName("Sarnova");
    GExceptionHandler->ApplicationTitle = "Sarnova";
    auto MainForm = std::make_unique<TMainForm>();
    Splash->show();
    Splash->raise();
    MainForm->show();
    Splash.reset();

    // A document that fails to load is reported, and the program starts without it.
    try {
        if (const auto Document = CommandLineDocument(Arguments)) {
            if (IDocumentWindow* W = MainForm->CreateDocumentWindow()) W->OpenFile(Document->string());
        } else if (GSettings && GSettings->InitiallyOpenProject) {
            MainForm->CreateDocumentWindow();
        }
    } catch (const std::exception& Error) {
        GExceptionHandler->HandleException(Error);
    }

    if (GGeometryClasses) GGeometryClasses->ListClasses();
    return MainForm;
}

}  // namespace sarnova
