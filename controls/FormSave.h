// Window placement remembered between runs: a component that a form carries to store its position and
// size, window state, form style and visibility when its window is destroyed, and to put them back
// when the form is made again.
#pragma once
#include <QObject>

#include <filesystem>
#include <memory>
#include <string>

class QWidget;

namespace sarnova {

class TRegIniFile;

enum TSaveFile { sfIniFile, sfRegistryFile };
// Options, combined as a set of bits.
enum TSaveOption : unsigned { soPosition = 1, soVisibility = 2, soState = 4 };
using TSaveOptions = unsigned;

// The stored ordinals of a window's state and style.
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };

TWindowState GetWindowState(const QWidget& Form);
void SetWindowState(QWidget& Form, TWindowState State);
// A main window holding a document area is an MDI frame; a widget shown in such an area an MDI child.
TFormStyle GetFormStyle(const QWidget& Form);
// Only stay-on-top can change once a form is built: any other style clears it. A shown form stays shown.
void SetFormStyle(QWidget& Form, TFormStyle Style);
// The window's restored rectangle: the one it takes again when no longer maximised or minimised.
QRect NormalBounds(const QWidget& Form);
// A form lying wholly off the desktop is moved back to its nearest edge, keeping its size; one that
// still lies on no screen (a gap of a desktop made of screens of different sizes) comes onto the
// primary screen the same way.
void MoveIntoDesktop(QWidget& Form);

class TFormSave : public QObject {
    Q_OBJECT
public:
    // The component belongs to Owner and goes with it. Name is its section in the store, so two forms
    // whose components share a name share one placement. All options are set.
    TFormSave(QWidget& Owner, const std::string& Name);
    // Freed with its owner, while the owner's window is being destroyed: saves the placement. Store
    // errors are dropped here, as nothing could report them.
    ~TFormSave() override;

    TSaveFile SaveFile = sfIniFile;
    TSaveOptions SaveOptions = soPosition | soVisibility | soState;

    // The owner calls it where its creation starts, once its controls exist. Nothing happens unless
    // the stored "FormSaveVersion" is 2; then the position, the state and style, and the visibility are
    // applied, each when its option is set, and the form is kept on the desktop.
    void RestorePlacement();
    // Writes all eight values whatever the options say.
    void SavePlacement();

    // False after a close request, true after the window was shown.
    bool WasVisible() const { return FWasVisible; }
    // The store file of SaveFile: the registry's, or GExeName + ".ini" in the configuration folder.
    std::filesystem::path StoreFileName() const;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    std::unique_ptr<TRegIniFile> OpenStore() const;

    QWidget* FOwner;
    bool FWasVisible = false;
};

}  // namespace sarnova
