#include "controls/FormSave.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QWidget>

#include <algorithm>

#include "foundation/TextUtils.h"
#include "foundation/DesktopRects.h"
#include "platform/Registry.h"

namespace sarnova {

namespace {

constexpr int FormSaveVersion = 2;

TRect ToTRect(const QRect& R) { return {R.x(), R.y(), R.x() + R.width(), R.y() + R.height()}; }
QRect ToQRect(const TRect& R) { return QRect(R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top); }

// Stored numbers come from a file anyone can edit: keep them within what a window can take, so that
// the edges of the rectangle still fit in an integer.
int StoredCoordinate(int Value) { return std::clamp(Value, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX); }
int StoredExtent(int Value) { return std::clamp(Value, 0, QWIDGETSIZE_MAX); }

}  // namespace

TWindowState GetWindowState(const QWidget& Form) {
    if (Form.isMinimized()) return wsMinimized;
    if (Form.isMaximized()) return wsMaximized;
    return wsNormal;
}

void SetWindowState(QWidget& Form, TWindowState State) {
    Qt::WindowStates States = Form.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen);
    if (State == wsMinimized) States |= Qt::WindowMinimized;
    if (State == wsMaximized) States |= Qt::WindowMaximized;
    Form.setWindowState(States);
}

TFormStyle GetFormStyle(const QWidget& Form) {
    if (Form.windowFlags() & Qt::WindowStaysOnTopHint) return fsStayOnTop;
    if (auto* Main = qobject_cast<const QMainWindow*>(&Form); Main && qobject_cast<QMdiArea*>(Main->centralWidget()))
        return fsMDIForm;
    if (qobject_cast<const QMdiSubWindow*>(&Form) || qobject_cast<QMdiSubWindow*>(Form.parentWidget()))
        return fsMDIChild;
    return fsNormal;
}

void SetFormStyle(QWidget& Form, TFormStyle Style) {
    const bool OnTop = Style == fsStayOnTop;
    if (static_cast<bool>(Form.windowFlags() & Qt::WindowStaysOnTopHint) == OnTop) return;
    // New window flags hide a shown window.
    const bool Shown = Form.isVisible();
    Form.setWindowFlag(Qt::WindowStaysOnTopHint, OnTop);
    if (Shown) Form.show();
}

QRect NormalBounds(const QWidget& Form) {
    if (Form.isWindow()) {
        const QRect Normal = Form.normalGeometry();
        if (Normal.isValid()) return Normal;
    }
    return Form.geometry();
}

void MoveIntoDesktop(QWidget& Form) {
    if (!Form.isWindow()) return;
    QScreen* Primary = QGuiApplication::primaryScreen();
    if (!Primary) return;
    TRect Bounds = MoveIntoDesktop(ToTRect(Form.geometry()), ToTRect(Primary->virtualGeometry()));
    const QList<QScreen*> Screens = QGuiApplication::screens();
    const bool OnAScreen = std::any_of(Screens.begin(), Screens.end(),
                                       [&](QScreen* S) { return RectsOverlap(Bounds, ToTRect(S->geometry())); });
    // On no screen means off the primary screen too, so the same rule brings it there.
    if (!OnAScreen) Bounds = MoveIntoDesktop(Bounds, ToTRect(Primary->geometry()));
    const QRect Moved = ToQRect(Bounds);
    if (Moved != Form.geometry()) Form.setGeometry(Moved);
}

TFormSave::TFormSave(QWidget& Owner, const std::string& Name) : QObject(&Owner), FOwner(&Owner) {
    setObjectName(QString::fromStdString(Name));
    Owner.installEventFilter(this);
}

TFormSave::~TFormSave() {
    try {
        SavePlacement();
    } catch (...) {
    }
}

std::filesystem::path TFormSave::StoreFileName() const {
    if (SaveFile == sfRegistryFile) return RegistryFileName();
    return std::filesystem::path(GWinDir) / (GExeName + ".ini");
}

std::unique_ptr<TRegIniFile> TFormSave::OpenStore() const {
    if (SaveFile == sfRegistryFile) return std::make_unique<TRegIniFile>(ProgramRegistryKey(GExeName), StoreFileName());
    return std::make_unique<TRegIniFile>("", StoreFileName());
}

bool TFormSave::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched == FOwner) {
        if (Event->type() == QEvent::Close) FWasVisible = false;
        if (Event->type() == QEvent::Show) FWasVisible = true;
    }
    return false;
}

void TFormSave::RestorePlacement() {
    const auto Store = OpenStore();
    const std::string Section = objectName().toStdString();
    if (Store->ReadInteger(Section, "FormSaveVersion", -1) != FormSaveVersion) return;
    if (SaveOptions & soPosition) {
        const QRect Current = FOwner->geometry();
        const int Left = StoredCoordinate(Store->ReadInteger(Section, "FormLeft", Current.x()));
        const int Top = StoredCoordinate(Store->ReadInteger(Section, "FormTop", Current.y()));
        const int Width = StoredExtent(Store->ReadInteger(Section, "FormWidth", Current.width()));
        const int Height = StoredExtent(Store->ReadInteger(Section, "FormHeight", Current.height()));
        FOwner->setGeometry(Left, Top, Width, Height);
    }
    // Kept on the desktop before it is maximised or shown, so it never appears off the screen first.
    MoveIntoDesktop(*FOwner);
    if (SaveOptions & soState) {
        const int State = Store->ReadInteger(Section, "WindowState", GetWindowState(*FOwner));
        SetWindowState(*FOwner, State == wsMinimized ? wsMinimized : State == wsMaximized ? wsMaximized : wsNormal);
        const int Style = Store->ReadInteger(Section, "FormStyle", GetFormStyle(*FOwner));
        SetFormStyle(*FOwner, Style >= fsMDIChild && Style <= fsStayOnTop ? static_cast<TFormStyle>(Style) : fsNormal);
    }
    if (SaveOptions & soVisibility) {
        const bool Visible = Store->ReadBool(Section, "Visible", FOwner->isVisible());
        FOwner->setVisible(Visible);
        FWasVisible = Visible;
    }
}

void TFormSave::SavePlacement() {
    const QRect Normal = NormalBounds(*FOwner);
    const auto Store = OpenStore();
    const std::string Section = objectName().toStdString();
    Store->WriteInteger(Section, "FormSaveVersion", FormSaveVersion);
    Store->WriteInteger(Section, "FormLeft", Normal.x());
    Store->WriteInteger(Section, "FormTop", Normal.y());
    Store->WriteInteger(Section, "FormWidth", Normal.width());
    Store->WriteInteger(Section, "FormHeight", Normal.height());
    Store->WriteInteger(Section, "WindowState", GetWindowState(*FOwner));
    Store->WriteInteger(Section, "FormStyle", GetFormStyle(*FOwner));
    Store->WriteBool(Section, "Visible", FWasVisible);
    Store->Flush();
}

}  // namespace sarnova
